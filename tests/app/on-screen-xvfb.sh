#!/usr/bin/env bash
# Runs suites of tests_app that read the picture from the screen, which the offscreen platform has not, on
# an X server of their own; with --window-manager, openbox manages the windows there.
#   on-screen-xvfb.sh [--window-manager] TESTS_APP FILTER [GTEST ARGS...]     e.g. FILTER 'PictureAtRestTest.*'
set -uo pipefail
manager=false
if [ "${1:-}" = --window-manager ]; then
  manager=true
  shift
fi
suite=$1
filter=$2
shift 2
command -v Xvfb >/dev/null || { echo "no Xvfb: skipped"; exit 77; }
if $manager; then
  command -v openbox >/dev/null && command -v xdotool >/dev/null || { echo "no openbox or xdotool: skipped"; exit 77; }
fi
source "$(dirname "$0")/../support/virtual-screen.bash"
work=$(mktemp -d)
cleanup() {
  virtual_screen_stop
  rm -rf "$work"
}
trap cleanup EXIT
virtual_screen_start 1920x1080x24 "$work" || exit 1
if $manager; then
  virtual_screen_window_manager "$work" || exit 1
fi
# Xvfb's OpenGL is Mesa's software driver, on which the player takes mpv's software renderer.
export QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:-"--no-sandbox --disable-gpu"}
"$suite" --gtest_filter="$filter" "$@"
