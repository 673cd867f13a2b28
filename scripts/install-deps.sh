#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need.
set -e
packages="cmake ninja-build g++ pkg-config zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev"
# Aravis: the GigE Vision / USB3 Vision transport of libzelcam (its .pc file needs libusb).
packages="$packages libaravis-dev aravis-tools-cli libusb-1.0-0-dev"
[ "$#" -gt 0 ] && packages="$packages $*"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $packages
else
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $packages
fi
