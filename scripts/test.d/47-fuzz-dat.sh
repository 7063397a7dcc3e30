#!/usr/bin/env bash
# A short fuzz run of the four DAT recording readers (movie, event, divided, legacy frame file); any
# crash, hang or sanitizer report fails it.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${FUZZ_DAT_SECONDS:-25}
build=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_FUZZ=ON \
  -DORV_SANITIZE="address,undefined" -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --parallel "${FUZZ_JOBS:-$(nproc)}" --target DatRecordingFuzz DatFuzzSeeds

corpus="$build/fuzz/corpus-dat"
rm -rf "$corpus"
mkdir -p "$corpus"
"$build/fuzz/DatFuzzSeeds" "$corpus"

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="detect_leaks=1"
"$build/fuzz/DatRecordingFuzz" -max_total_time="$seconds" -max_len=32768 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build/fuzz/dat-" "$corpus"
