#!/bin/sh
# Builds everything and runs every test. Pass a build directory and extra CMake options to build
# a variant, e.g.: scripts/test.sh build-asan -DTQV_ASAN=ON
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
[ "$#" -gt 0 ] && shift
./scripts/install-deps.sh clang doxygen
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
