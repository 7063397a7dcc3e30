#!/usr/bin/env bash
# Runs the picture-at-rest suite of tests_app on an X server of its own: the suite reads the picture
# from the screen, which the offscreen platform has not. Xvfb picks a free display and tells it.
#   picture-at-rest-xvfb.sh TESTS_APP [GTEST ARGS...]
set -uo pipefail
suite=$1
shift
command -v Xvfb >/dev/null || { echo "no Xvfb: skipped"; exit 77; }
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb told no display"; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
# Xvfb's OpenGL is Mesa's software driver, on which the player takes mpv's software renderer.
export QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:-"--no-sandbox --disable-gpu"}
"$suite" --gtest_filter='PictureAtRestTest.*' "$@"
