#!/usr/bin/env bash
# The player on a real X server, which the offscreen suites cannot reach.
# 1. The OpenGL path (which the program itself only takes on a hardware driver, so it is forced here on
# Xvfb's llvmpipe): playerdemo plays a generated three-chapter trip in a window under Xvfb through mpv's
# OpenGL render context, and must show a picture, reach the last chapter and, 50 ms after each border,
# show the new chapter's frame. Chapters of 4 s: the next file is opened 2 s before its border, and under
# Xvfb's software GL that costs the main thread a few hundred ms, which must not fall on the border itself.
# 2. The picture at rest in the main window (tests_app's PictureAtRestTest): paused from play, stepped a
# frame either way and captured, the picture the X server shows is the position's, also with every core
# busy.
# 3. Every picture of a trip on screen while it plays (tests_app's PlaybackOnScreenTest), read off the X server
# all along and set beside the same files as one libmpv playlist in a plain window: nothing steps back, and no
# chapter border cuts the old chapter's last pictures and nothing freezes but where the machine withheld that
# time from the player's and the X server's threads or other programs took half of it; with every core busy no
# worse than the playlist; the trip
# ends on its last picture and steps from it both ways; a paused picture holds while the brightness knob is
# dragged; an event inside a chapter opens on its own picture; the play button starts the picture with the clock.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD_DIR:-build}
status=0
demo="$build/devtools/playerdemo"
if [ -x "$demo" ]; then
  shots=$(mktemp -d)
  trap 'rm -rf "$shots"' EXIT
  unset QT_QPA_PLATFORM
  xvfb-run -a -s "-screen 0 1280x800x24" "$demo" --opengl --chapters 3 --seconds 4 --size 640x360 \
    --quit-after 10500 --check --screenshot "$shots/gl.png" --border-shots "$shots" 2>/dev/null | grep '^\[playerdemo\]' ||
    status=1
else
  echo "playerdemo not built; its OpenGL check skipped"
fi

suite="$build/tests/app/tests_app"
if [ -x "$suite" ]; then
  tests/app/on-screen-xvfb.sh "$suite" 'PictureAtRestTest.*' || status=1
  tests/app/on-screen-xvfb.sh "$suite" 'PlaybackOnScreenTest.*' || status=1
else
  echo "tests_app not built; the picture-at-rest check skipped"
fi
exit "$status"
