#!/usr/bin/env bash
# Runs suites of tests_app that read the picture from the screen, which the offscreen platform has not, on
# an X server of their own.
#   on-screen-xvfb.sh TESTS_APP FILTER [GTEST ARGS...]     e.g. FILTER 'PictureAtRestTest.*'
set -uo pipefail
suite=$1
filter=$2
shift 2
command -v Xvfb >/dev/null || { echo "no Xvfb: skipped"; exit 77; }
source "$(dirname "$0")/../support/virtual-screen.bash"
work=$(mktemp -d)
cleanup() {
  virtual_screen_stop
  rm -rf "$work"
}
trap cleanup EXIT
virtual_screen_start 1920x1080x24 "$work" || exit 1
# Xvfb's OpenGL is Mesa's software driver, on which the player takes mpv's software renderer.
export QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:-"--no-sandbox --disable-gpu"}
"$suite" --gtest_filter="$filter" "$@"
