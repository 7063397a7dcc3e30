#!/usr/bin/env bash
# Starts orvalind on a virtual X screen, without network and with temporary settings. ORV_XVFB_MODE:
#  open (default): opens the sample card, kept as a backup folder, through the real dialogs by keys (Ctrl+O,
#    Alt+B "Backup folder", Return); no alert may come up. With a folder given, each list tab is grabbed.
#  play: opens it so, plays the first trip, then clicks the first event and the adventure, grabbing twice.
#  quit: quits through the File menu; the program must end by itself with status 0 and keep its settings.
#  quit-loading: opens a card whose reading takes long (300 trips of one chapter, each a 64 MiB read of
#    holes) and quits through the File menu while it is read: the program must end within 2 s.
#   orvalind-open-xvfb.sh ORVALIND SAMPLECARD SCREENGRAB [SHOTS_DIR]
set -euo pipefail
program=$1 samplecard=${2:-} screengrab=${3:-} shots=${4:-} mode=${ORV_XVFB_MODE:-open}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/backup" "$work/config/Orvalind"
if [ "$mode" = quit-loading ]; then
  mkdir -p "$work/backup/Sample/MOVE001"
  for i in $(seq 300); do
    movie=$(printf '%s/backup/Sample/MOVE001/m%012d0001.MP4' "$work" "$i")
    # ftyp, a udat box of 64 MiB that is all holes (sparse: nothing on disk), an empty mdat.
    printf '\x00\x00\x00\x10ftypisom\x00\x00\x00\x00\x04\x00\x00\x00udat' >"$movie"
    truncate -s $((16 + 0x4000000)) "$movie"
    printf '\x00\x00\x00\x08mdat' >>"$movie"
  done
elif [ "$mode" != quit ]; then
  # The small, quick sample the suites use (tests/support/QuickSampleCard.h).
  "$samplecard" --size 64x48 --duration 4000 "$work/card" >/dev/null
  mv "$work/card/MOVE" "$work/backup/Sample"
fi
# Not the first launch (its settings dialog would cover the window); English menus.
printf '[General]\nTQ-MW58_ViewerFirstLaunch=true\nLanguage=0\npathBackup=%s\n' "$work/backup" \
  > "$work/config/Orvalind/Orvalind.ini"

# The program looks up the map and update servers at start; in a network namespace of its own it sends
# nothing off the machine (the X server is reached through its socket file).
if unshare -n true 2>/dev/null; then
  isolate=(unshare -n)
elif unshare -rn true 2>/dev/null; then
  isolate=(unshare -rn)
else
  echo "no network namespace available: skipped" >&2
  exit 77
fi

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
# As root Chromium runs only without its sandbox; playing, its GPU process starts as on a user's desktop.
export QT_QPA_PLATFORM=xcb QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
[ "$mode" = play ] && QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox"
export QT_MESSAGE_PATTERN="%{type}: %{if-category}%{category}: %{endif}%{message}"
mkdir -m 0700 -p "$work/runtime"

xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -u
  program=$1 screengrab=$2 shots=$3 mode=$4
  shift 4
  "$@" "$program" & pid=$!
  fail() { echo "$1" >&2; [ -n "$shots" ] && "$screengrab" "$shots/failure.png"; kill "$pid" 2>/dev/null; exit 1; }
  # The first window found may be replaced while the program starts (an X error then): look again.
  until window=$(xdotool search --onlyvisible --name "^Orvalind$" 2>/dev/null | head -1) && [ -n "$window" ] &&
    xdotool windowfocus --sync "$window" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || fail "orvalind ended before its window showed"
    sleep 0.2
  done
  if [ "$mode" = quit ]; then
    # Alt+F opens File, Q chooses Quit; a question, when one is asked, is answered with Return (OK).
    xdotool key alt+f
    xdotool key q
    for _ in $(seq 600); do
      kill -0 "$pid" 2>/dev/null || break
      if xdotool search --onlyvisible --name "^confirmation$" >/dev/null 2>&1; then xdotool key Return; fi
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "orvalind did not quit"
    wait "$pid"
    exit
  fi
  shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
  # A key can reach the program on a loaded machine before it listens: it is pressed again until its window
  # shows, and every wait has an end with a message (a lost key would otherwise hang until the timeout).
  press_until_shown() {
    local name=$1 key=$2
    for _ in $(seq 6); do
      xdotool key "$key"
      for _ in $(seq 100); do shown "$name" && return 0; sleep 0.1; done
    done
    fail "no window $name after $key"
  }
  press_until_shown "^Open From$" ctrl+o
  press_until_shown "^Selection of backup folder$" alt+b
  # Without a window manager the new dialog may not hold the keyboard yet, and a key sent to the blocked
  # window below it is dropped: focus it first, and press again while it stays.
  choose_folder() {
    local dialog
    dialog=$(xdotool search --onlyvisible --name "^Selection of backup folder$" 2>/dev/null | head -1) || return 0
    [ -n "$dialog" ] || return 0
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    xdotool key Return
  }
  # Both windows close; the card is read in the background and its stills arrive while the workers run.
  for tick in $(seq 0 599); do
    shown "^Open From$" || break
    [ $((tick % 50)) = 0 ] && choose_folder
    sleep 0.1
  done
  shown "^Open From$" && fail "the chosen backup folder was not opened"
  if [ "$mode" = quit-loading ]; then
    # The reading starts after a short pause and takes many seconds; quit in the middle of it.
    sleep 1.5
    kill -0 "$pid" 2>/dev/null || fail "orvalind ended"
    xdotool key alt+f
    xdotool key q
    start=$(date +%s%N)
    while kill -0 "$pid" 2>/dev/null && [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 30000 ]; do sleep 0.05; done
    took=$(( ($(date +%s%N) - start) / 1000000 ))
    kill -0 "$pid" 2>/dev/null && fail "orvalind did not quit"
    wait "$pid" || fail "orvalind ended with status $?"
    echo "quit during the load took $took ms"
    [ "$took" -le 2000 ] || fail "quit during the load took $took ms"
    exit
  fi
  for _ in $(seq 30); do
    xdotool search --onlyvisible --name "^Warning$" >/dev/null 2>&1 && fail "an alert came up"
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null || fail "orvalind ended"
  if [ "$mode" = play ]; then
    shot() { [ -n "$shots" ] && "$screengrab" "$shots/$1.png"; return 0; }
    alert() { xdotool search --onlyvisible --name "^Warning$" >/dev/null 2>&1; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # Places at the window size of the first start: tab buttons, then the first row below the header.
    click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5; }
    sleep 1; shot trip-1; sleep 3; shot trip-2
    alert && fail "an alert came up while the trip played"
    click 1009 276; click 1037 350
    sleep 1; shot event-1; sleep 3; shot event-2
    alert && fail "an alert came up while the event played"
    click 1220 276; click 1037 350
    sleep 1; shot adventure-1; sleep 3; shot adventure-2
    alert && fail "an alert came up while the adventure played"
    kill -0 "$pid" 2>/dev/null || fail "orvalind ended"
  elif [ -n "$shots" ]; then
    sleep 3
    eval "$(xdotool getwindowgeometry --shell "$window")"
    "$screengrab" "$shots/open-trip.png"
    # Where each tab is at the window size of the first start; the row of the tab shown moves next to
    # the table, so the places follow the order of the clicks.
    for place in "chapter 1099 300" "event 1009 276" "surveillance 1190 300" "adventure 1220 276"; do
      read -r tab dx dy <<<"$place"
      xdotool mousemove $((X + dx)) $((Y + dy)) click 1
      sleep 1
      "$screengrab" "$shots/open-$tab.png"
    done
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
' open-test "$program" "$screengrab" "$shots" "$mode" "${isolate[@]}" 2> "$work/stderr" || status=$?
cat "$work/stderr" >&2
[ "${status:-0}" = 0 ] || exit "$status"
# A quiet terminal: Qt's debug and info lines only when asked for, no probing of hardware decoders, no
# lines of Chromium (a GPU context it retries), of the sound libraries (ALSA, PipeWire, on a machine
# without a sound device) or of FFmpeg (a damaged movie).
if grep -E '^(debug|info): |Cannot load libcuda|^\[[0-9:/.]+:(ERROR|WARNING|INFO)|^ALSA lib |^\[[EWI]\]\[|pw\.conf|moov atom' \
  "$work/stderr" >&2; then
  echo "debug output, a hardware decoder probe or a library's own lines on the terminal" >&2
  exit 1
fi

case $mode in quit | quit-loading) grep -q 'TQ-MW58_ViewerFirstLaunch=true' "$work/config/Orvalind/Orvalind.ini" ;; esac
