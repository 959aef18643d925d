#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer) and runs each for a bounded time.
#   scripts/run-fuzzers.sh [SECONDS_PER_TARGET] [BUILD_DIR]
# Crashing inputs are kept in BUILD_DIR/fuzz-artifacts; the seeds in tests/fuzz/corpus are not touched.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build_dir=${2:-build/test}

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build_dir" --target SombraxFuzzers -j"$(nproc)"

export SOMBRAX_FUZZ_ARTIFACTS="$PWD/$build_dir/fuzz-artifacts"
status=0

for target in FuzzStateChunk:state FuzzPresetFile:preset FuzzMidiMap:map; do
    name=${target%%:*}
    seeds=${target##*:}
    echo "== $name for ${seconds}s"

    if ! tests/fuzz/run-fuzzer.sh "$build_dir/tests/fuzz/project/$name" "tests/fuzz/corpus/$seeds" "$seconds"; then
        echo "== $name FAILED: see $SOMBRAX_FUZZ_ARTIFACTS"
        status=1
    fi
done

exit $status
