#!/bin/sh
# scripts/install-deps.sh against stand-ins for dpkg-query, apt-get, sudo and id: it installs only
# what dpkg does not list, says so, and calls apt-get not at all when nothing is missing.
# Argument: the path of install-deps.sh.
set -u
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
# Installed: the words of $INSTALLED. The package is the last argument.
for package; do :; done
for installed in $INSTALLED; do
  [ "$installed" = "$package" ] && { printf 'install ok installed'; exit 0; }
done
echo "dpkg-query: no packages found matching $package" >&2
exit 1
STUB
cat > "$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >> "$LOG"
STUB
cat > "$work/bin/sudo" <<'STUB'
#!/bin/sh
echo "sudo" >> "$LOG"
exec "$@"
STUB
cat > "$work/bin/id" <<'STUB'
#!/bin/sh
echo "$UID_OF_TEST"
STUB
chmod +x "$work/bin/"*

failures=0
check() {  # description, condition...
  what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
run() {  # installed packages, uid, extra arguments...
  installed=$1 uid=$2
  shift 2
  : > "$work/log"
  INSTALLED=$installed UID_OF_TEST=$uid LOG=$work/log PATH="$work/bin:$PATH" \
    sh "$script" "$@" > "$work/out" 2>&1
  status=$?
}
base=$(sh "$script" --list)
count=$(echo $base | wc -w)
# All but pkg-config, which is then missing.
without=$(echo $base | tr ' ' '\n' | grep -vx pkg-config | tr '\n' ' ')

run "$base doxygen" 0 doxygen
check "all installed: success" [ "$status" -eq 0 ]
check "all installed: apt-get is not called" [ ! -s "$work/log" ]
check "all installed: says nothing is installed" grep -q "nothing to install; all $((count + 1)) packages" "$work/out"

run "$without" 0 doxygen
check "two missing: success" [ "$status" -eq 0 ]
check "two missing: says which" grep -qx "install-deps: installing pkg-config doxygen" "$work/out"
check "two missing: one update" [ "$(grep -c 'apt-get update' "$work/log")" -eq 1 ]
check "two missing: installs exactly those, upgrading nothing, waiting for dpkg's lock" \
  grep -qx "apt-get install -y -qq --no-upgrade -o DPkg::Lock::Timeout=600 pkg-config doxygen" \
  "$work/log"
check "two missing: the update waits for dpkg's lock too" \
  grep -qx "apt-get update -qq -o DPkg::Lock::Timeout=600" "$work/log"
check "as root: no sudo" sh -c "! grep -q sudo '$work/log'"

run "$base" 1000 clang
check "not root: through sudo" [ "$(grep -c sudo "$work/log")" -eq 2 ]
check "not root: installs the missing argument" grep -q "install .*clang$" "$work/log"

[ "$failures" -eq 0 ]
