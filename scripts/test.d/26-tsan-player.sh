#!/usr/bin/env bash
# Runs the media engine's suite under ThreadSanitizer (clang): the software renderer draws on a thread of
# each engine's own, which mpv's threads wake and which hands its pictures to the main thread. Any report
# fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."

source scripts/trees.bash
build=$(tsan_gui_tree)
cmake --build "$build" --parallel "$(nproc)" --target tests_player

# The sanitizer's runtime cannot follow the ffmpeg children that make the suite's clips, so the regular
# build's suite makes them beforehand (scripts/test builds it first).
regular=${BUILD_DIR:-build}
if [ ! -x "$regular/tests/player/tests_player" ]; then
  cmake -S . -B "$regular" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_BUILD_TESTS=ON >/dev/null
  cmake --build "$regular" --parallel "$(nproc)" --target tests_player
fi
clips=$(mktemp -d)
trap 'rm -rf "$clips"' EXIT
export QT_QPA_PLATFORM=offscreen ORV_TEST_CLIPS="$clips"
ORV_BUILD_DIR="$(realpath "$regular")" "$regular/tests/player/tests_player" \
  --gtest_filter='MpvEngineTest.LoadsRemoves*' >/dev/null

export ORV_BUILD_DIR="$(realpath "$build")"
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/scripts/test.d/tsan-player.supp"
# Its sound test starts ffmpeg itself, and is about signals, not threads.
"$build/tests/player/tests_player" --gtest_filter='MpvEngineTest.*:-MpvEngineTest.OpeningSound*'
