#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need, and any named as
# arguments, but only those that dpkg does not list as installed; says what it installs, or that
# nothing is missing. apt-get runs only when something is missing, and upgrades nothing else.
set -e
packages="cmake ninja-build g++ pkg-config zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev"
[ "$#" -gt 0 ] && packages="$packages $*"
missing=""
for package in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing="$missing $package"
done
if [ -z "$missing" ]; then
  set -- $packages
  echo "install-deps: nothing to install; all $# packages are installed"
  exit 0
fi
echo "install-deps: installing$missing"
as_root=""
[ "$(id -u)" -eq 0 ] || as_root=sudo
$as_root apt-get update -qq
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-upgrade $missing
