#!/usr/bin/env bash
# Starts orvalind on a virtual X screen with a temporary settings folder, waits for its main window and
# quits it through the File menu; the program must end by itself with status 0 and keep its settings.
#   orvalind-quit-xvfb.sh ORVALIND
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Orvalind"
# Not the first launch (its settings dialog would cover the window); English menus.
printf '[General]\nTQ-MW58_ViewerFirstLaunch=true\nLanguage=0\n' > "$work/config/Orvalind/Orvalind.ini"

# The program looks up the map and update servers at start; in a network namespace of its own it
# sends nothing off the machine (the X server is reached through its socket file).
if unshare -n true 2>/dev/null; then
  isolate=(unshare -n)
elif unshare -rn true 2>/dev/null; then
  isolate=(unshare -rn)
else
  echo "no network namespace available: skipped" >&2
  exit 77
fi

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
export QT_QPA_PLATFORM=xcb QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
mkdir -m 0700 -p "$work/runtime"

xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -u
  "${@:2}" "$1" & pid=$!
  window=$(xdotool search --sync --onlyvisible --name "^Orvalind$" | head -1)
  xdotool windowfocus --sync "$window"
  # Alt+F opens File, Q chooses Quit; a question, when one is asked, is answered with Return (OK).
  xdotool key alt+f
  xdotool key q
  for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    if xdotool search --onlyvisible --name "^confirmation$" >/dev/null 2>&1; then xdotool key Return; fi
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "orvalind did not quit" >&2
    kill "$pid"
    exit 1
  fi
  wait "$pid"
' quit-test "$program" "${isolate[@]}"

grep -q 'TQ-MW58_ViewerFirstLaunch=true' "$work/config/Orvalind/Orvalind.ini"
