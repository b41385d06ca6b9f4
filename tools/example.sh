#!/bin/sh
# Builds the example simulator (and nothing else) and runs 1000 terminating batches of it.
# Its result files go to the build folder, out of the source tree.
# Usage: tools/example.sh [build-dir]
set -eu
cd "$(dirname "$0")/.."
./tools/deps.sh
dir="${1:-build}"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$dir" -j "$(nproc)" --target l2_cache_sim
"$dir/bin/l2_cache_sim" -t 1 -N 1000 -a "$dir/l2_cache.csv" -b "$dir/l2_cache.bin"
echo "Results: $dir/l2_cache.csv and $dir/l2_cache.bin"
