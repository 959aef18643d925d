#!/usr/bin/env bash
# Runs one fuzz target for a bounded time: run-fuzzer.sh FUZZER SEED_DIR SECONDS [libFuzzer options]
# New inputs go to a scratch folder, never into the seeds. The fuzzer makes its own temporary home.
set -euo pipefail
fuzzer=$1
seeds=$2
seconds=$3
shift 3

here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/sombrax-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# Crashing inputs are kept where SOMBRAX_FUZZ_ARTIFACTS says, else only printed.
artifacts=${SOMBRAX_FUZZ_ARTIFACTS:-$scratch}
mkdir -p "$artifacts"

# Our crash handler would otherwise take over from the sanitizer's report.
export ASAN_OPTIONS="allow_user_segv_handler=0:detect_leaks=1:${ASAN_OPTIONS:-}"

"$fuzzer" "$scratch" "$seeds" \
    -dict="$here/sombrax.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$@"
