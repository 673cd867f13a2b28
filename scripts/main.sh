#!/bin/sh
# Builds the library and runs the main job: the C example against the built-in simulated camera.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target camera_info tqvsdk_python
./build/examples/camera_info sim
