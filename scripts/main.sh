#!/bin/sh
# Builds the library and runs the main job: the tqv tool's camera summary of the built-in
# simulated camera.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target tqv tqvsdk_python
./build/tools/tqv/tqv info sim
