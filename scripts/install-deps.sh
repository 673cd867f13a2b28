#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need.
set -e
packages="cmake ninja-build g++ pkg-config zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev"
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
