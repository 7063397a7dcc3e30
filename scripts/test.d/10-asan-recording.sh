#!/usr/bin/env bash
# Builds the recording layer's tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# them: the binary readers must never read outside their bytes, whatever the input. Any report fails.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${ASAN_BUILD_DIR:-build-asan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORV_SANITIZE=address,undefined -DCMAKE_CXX_FLAGS="-fno-sanitize-recover=all" \
  -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=ON >/dev/null
# The suite runs the developer programs (samplecard, recdump, carddump) found in the build folder.
targets=(tests_recording)
known=$(ninja -C "$build" -t targets all)
for program in samplecard recdump carddump; do
  if grep -q "^devtools/$program:" <<<"$known"; then targets+=("$program"); fi
done
cmake --build "$build" --parallel "${ASAN_JOBS:-$(nproc)}" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export ORV_BUILD_DIR="$PWD/$build"
# Qt keeps some allocations until exit on purpose; leaks are not what this step looks for.
export ASAN_OPTIONS="detect_leaks=0:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$build/tests/recording/tests_recording"
