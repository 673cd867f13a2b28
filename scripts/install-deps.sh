#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need, and any named as
# arguments, but only those that dpkg does not list as installed; says what it installs, or that
# nothing is missing. apt-get runs only when something is missing, and upgrades nothing else.
set -e
packages="cmake ninja-build g++ pkg-config zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev"
# Aravis: the GigE Vision / USB3 Vision transport of libzelcam (its .pc file needs libusb).
packages="$packages libaravis-dev aravis-tools-cli libusb-1.0-0-dev"
# The Python package tqvsdk: its generator, its tests, and pip for the offline installation test.
packages="$packages python3 python3-numpy python3-pytest python3-pip python3-setuptools"
# The tqv tool: its command line, JSON output and PNG pictures; script(1) for its terminal test.
packages="$packages libcli11-dev nlohmann-json3-dev libpng-dev bsdutils"
# --list: the packages it needs, and nothing else done.
if [ "${1:-}" = "--list" ]; then
  echo $packages
  exit 0
fi
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
# Another apt-get (a machine's own start-up updates) may hold dpkg's lock for a while: wait for it.
wait_lock="-o DPkg::Lock::Timeout=600"
$as_root apt-get update -qq $wait_lock
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-upgrade $wait_lock $missing
