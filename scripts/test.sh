#!/usr/bin/env bash
# Installs what the build needs, builds the plug-in, the tests and the benchmarks,
# then runs every test. Benchmarks are built but not run (see README).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
build_dir=build/test
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build_dir" -j"$jobs"
ctest --test-dir "$build_dir" --output-on-failure -j"$jobs"
