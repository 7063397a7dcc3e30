#!/usr/bin/env bash
# Builds the card library's tests with ThreadSanitizer (clang) and runs the tests of the background
# workers, where threads meet. Any report fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."

source scripts/trees.bash
build=$(tsan_tree)
cmake --build "$build" --parallel "$(nproc)" --target tests_card

# The sanitizer's runtime cannot follow the ffmpeg children that make the card's movies, so the
# card is written beforehand by the samplecard of the regular build (scripts/test builds it first).
regular=${BUILD_DIR:-build}
if [ ! -x "$regular/devtools/samplecard" ]; then
  cmake -S . -B "$regular" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$regular" --parallel "$(nproc)" --target samplecard
fi
card=$(mktemp -d)
trap 'rm -rf "$card"' EXIT
# The card SampleScenario::standard() describes (tests/support/QuickSampleCard.h).
"$regular/devtools/samplecard" --size 64x48 --duration 4000 "$card"

export QT_QPA_PLATFORM=offscreen
export ORV_BUILD_DIR="$(realpath "$build")"
export ORV_SAMPLE_CARD="$card"
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/scripts/test.d/tsan.supp"
"$build/tests/card/tests_card" --gtest_filter='WorkerGroupTest.*:CardDataWorkersTest.*:HostileCardTest.Workers*:RecentPicturesTest.*'
