#!/usr/bin/env bash
# Builds the recording layer's tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# them: the binary readers must never read outside their bytes, whatever the input. Any report fails.
set -euo pipefail
cd "$(dirname "$0")/../.."

# The tree the fuzz targets build in (clang).
source scripts/trees.bash
build=$(asan_tree)
# The suite runs the developer programs (samplecard, recdump, carddump) found in the build folder.
targets=(tests_recording)
known=$(ninja -C "$build" -t targets all)
for program in samplecard recdump carddump; do
  if grep -q "^devtools/$program:" <<<"$known"; then targets+=("$program"); fi
done
cmake --build "$build" --parallel "${ASAN_JOBS:-$(nproc)}" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export ORV_BUILD_DIR="$(realpath "$build")"
# Qt keeps some allocations until exit on purpose; leaks are not what this step looks for.
export ASAN_OPTIONS="detect_leaks=0:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$build/tests/recording/tests_recording"
