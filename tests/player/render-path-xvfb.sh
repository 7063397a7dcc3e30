#!/usr/bin/env bash
# The render path the player takes on a display whose OpenGL driver is Mesa's llvmpipe (a virtual
# machine, a remote desktop): mpv's software renderer, unless OpenGL is asked for by name.
#   render-path-xvfb.sh PLAYERDEMO
set -uo pipefail
demo=$1
unset QT_QPA_PLATFORM
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
run() {
  xvfb-run -a -s "-screen 0 1024x600x24" "$demo" --chapters 1 --seconds 2 --size 320x180 --quit-after 800 "$@" 2>&1
}
out=$(run) || { echo "$out"; exit 1; }
echo "$out" | grep -q '^\[playerdemo\] render path software$' || { echo "$out"; echo "FAIL: llvmpipe took the OpenGL path"; exit 1; }
# The same when the probe has no application-wide context to share.
own=$(run --own-context) || { echo "$own"; exit 1; }
echo "$own" | grep -q '^\[playerdemo\] render path software$' || { echo "$own"; echo "FAIL: llvmpipe took the OpenGL path without a shared context"; exit 1; }
forced=$(run --opengl) || { echo "$forced"; exit 1; }
echo "$forced" | grep -q '^\[playerdemo\] render path opengl$' || { echo "$forced"; echo "FAIL: --opengl ignored"; exit 1; }
echo "$out" | grep -m1 "OpenGL renderer"
echo "software driver: software path; --opengl: OpenGL path"
