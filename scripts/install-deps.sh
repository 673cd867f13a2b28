#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need.
set -e
packages="cmake ninja-build g++ pkg-config zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev"
# Aravis: the GigE Vision / USB3 Vision transport of libzelcam (its .pc file needs libusb).
packages="$packages libaravis-dev aravis-tools-cli libusb-1.0-0-dev"
# The Python package tqvsdk: its generator, its tests, and pip for the offline installation test.
packages="$packages python3 python3-numpy python3-pytest python3-pip python3-setuptools"
# The tqv tool: its command line, JSON output and PNG pictures; script(1) for its terminal test.
packages="$packages libcli11-dev nlohmann-json3-dev libpng-dev bsdutils"
[ "$#" -gt 0 ] && packages="$packages $*"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $packages
else
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $packages
fi
