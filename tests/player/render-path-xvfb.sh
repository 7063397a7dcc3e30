#!/usr/bin/env bash
# The render path the player takes on a display whose OpenGL driver is Mesa's llvmpipe (a virtual
# machine, a remote desktop): mpv's software renderer, unless OpenGL is asked for by name. Runs on an
# Xvfb of its own, beside any other test; a run that does not end keeps a picture of the screen in
# ORV_FAILURE_SHOTS when ORV_SCREENGRAB is given.
#   render-path-xvfb.sh PLAYERDEMO
set -uo pipefail
demo=$1
unset QT_QPA_PLATFORM
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
work=$(mktemp -d)
source "$(dirname "$0")/../support/virtual-screen.bash"
trap 'virtual_screen_stop; rm -rf "$work"' EXIT
virtual_screen_start 1024x600x24 "$work" || exit 1
# playerdemo quits by itself after 800 ms of play; one that has not ended within 60 s is stopped.
run() {
  "$demo" --chapters 1 --seconds 2 --size 320x180 --quit-after 800 "$@" >"$work/output" 2>&1 &
  local pid=$! deadline=$((SECONDS + 60))
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      if [ -n "${ORV_FAILURE_SHOTS:-}" ] && [ -n "${ORV_SCREENGRAB:-}" ]; then
        mkdir -p "$ORV_FAILURE_SHOTS"
        timeout 20 "$ORV_SCREENGRAB" "$ORV_FAILURE_SHOTS/render-path-$$.png" &&
          echo "screen when stopped: $ORV_FAILURE_SHOTS/render-path-$$.png" >&2
      fi
      kill "$pid"
      wait "$pid"
      cat "$work/output"
      echo "FAIL: playerdemo $* did not end within 60 s"
      return 1
    fi
    sleep 0.1
  done
  wait "$pid"
  local status=$?
  cat "$work/output"
  return "$status"
}
# Here-strings, not pipes: with pipefail, grep -q ending at its match while echo still writes the lines
# after it fails the pipe (SIGPIPE).
out=$(run) || { echo "$out"; exit 1; }
grep -q '^\[playerdemo\] render path software$' <<<"$out" || { echo "$out"; echo "FAIL: llvmpipe took the OpenGL path"; exit 1; }
# The same when the probe has no application-wide context to share.
own=$(run --own-context) || { echo "$own"; exit 1; }
grep -q '^\[playerdemo\] render path software$' <<<"$own" || { echo "$own"; echo "FAIL: llvmpipe took the OpenGL path without a shared context"; exit 1; }
forced=$(run --opengl) || { echo "$forced"; exit 1; }
grep -q '^\[playerdemo\] render path opengl$' <<<"$forced" || { echo "$forced"; echo "FAIL: --opengl ignored"; exit 1; }
grep -m1 "OpenGL renderer" <<<"$out"
echo "software driver: software path; --opengl: OpenGL path"
