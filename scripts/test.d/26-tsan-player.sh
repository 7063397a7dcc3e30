#!/usr/bin/env bash
# Runs the media engine's suite under ThreadSanitizer (clang): the software renderer draws on a thread of
# each engine's own, which mpv's threads wake and which hands its pictures to the main thread. Any report
# fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."

source scripts/trees.bash
build=$(tsan_gui_tree)
cmake --build "$build" --parallel "$(nproc)" --target tests_player

export QT_QPA_PLATFORM=offscreen
export ORV_BUILD_DIR="$(realpath "$build")"
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/scripts/test.d/tsan.supp"
"$build/tests/player/tests_player" --gtest_filter='MpvEngineTest.*'
