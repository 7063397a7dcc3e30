#!/usr/bin/env bash
# Runs the recording model's concurrent lookup test under ThreadSanitizer (clang): a worker and the main
# thread look up in one recording while placeholder tables are stored. Any report fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."

source scripts/trees.bash
build=$(tsan_tree)
cmake --build "$build" --parallel "$(nproc)" --target tests_recording

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1"
"$build/tests/recording/tests_recording" --gtest_filter='VideoInfoTest.*'
