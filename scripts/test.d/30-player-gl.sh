#!/usr/bin/env bash
# The player's OpenGL path, which the offscreen suites cannot reach (and which the program itself only
# takes on a hardware driver, so it is forced here on Xvfb's llvmpipe): playerdemo plays a generated
# three-chapter trip in a window under Xvfb through mpv's OpenGL render context, and must show a
# picture, reach the last chapter and, 50 ms after each border, show the new chapter's frame.
# Chapters of 4 s: the next file is opened 2 s before its border, and under Xvfb's software GL
# that costs the main thread a few hundred ms, which must not fall on the border itself.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD_DIR:-build}
demo="$build/devtools/playerdemo"
if [ ! -x "$demo" ]; then
  echo "playerdemo not built; skipped"
  exit 0
fi
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x800x24" "$demo" --opengl --chapters 3 --seconds 4 --size 640x360 \
  --quit-after 10500 --check --screenshot "$shots/gl.png" --border-shots "$shots" 2>/dev/null | grep '^\[playerdemo\]'
