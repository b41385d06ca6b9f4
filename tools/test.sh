#!/bin/sh
# Builds everything and runs every test. Usage: tools/test.sh [build-dir]
set -eu
cd "$(dirname "$0")/.."
./tools/deps.sh
dir="${1:-build}"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$dir" -j "$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
