#!/usr/bin/env bash
# Starts orvalind on a virtual X screen, without network and with temporary settings. ORV_XVFB_MODE:
#  open (default): opens the sample card, kept as a backup folder, through the real dialogs by keys (Ctrl+O,
#    Alt+B "Backup folder", Return); no alert may come up. With a folder given, each list tab is grabbed.
#  play: opens it so, plays the first trip, then clicks the first event and the adventure, grabbing twice.
#  quit: quits through the File menu; the program must end by itself with status 0 and keep its settings.
#  quit-loading: opens a card whose reading takes long (300 trips of one chapter, each a 64 MiB read of
#    holes) and quits through the File menu while it is read: the program must end by itself before it
#    has read the whole card.
# Each runs on an Xvfb of its own and may run beside the others. A failure prints orvalind's own output and,
# with ORV_FAILURE_SHOTS (a folder) and a screengrab, keeps a picture of the screen there.
#   orvalind-open-xvfb.sh ORVALIND SAMPLECARD SCREENGRAB [SHOTS_DIR]
set -euo pipefail
program=$1 samplecard=${2:-} screengrab=${3:-${ORV_SCREENGRAB:-}} shots=${4:-} mode=${ORV_XVFB_MODE:-open}

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

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
# As root Chromium runs only without its sandbox; playing, its GPU process starts as on a user's desktop.
export QT_QPA_PLATFORM=xcb QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
[ "$mode" = play ] && QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox"
export QT_MESSAGE_PATTERN="%{type}: %{if-category}%{category}: %{endif}%{message}"
mkdir -m 0700 -p "$work/runtime"

# The program looks up the map and update servers at start; in a network namespace of its own it sends
# nothing off the machine (it reaches the X server through the server's socket file).
if unshare -n true 2>/dev/null; then
  isolate=(unshare -n)
elif unshare -rn true 2>/dev/null; then
  isolate=(unshare -rn)
else
  echo "no network namespace available: skipped" >&2
  exit 77
fi

# Xvfb's log, its display number and the program's own output (stdout and stderr) stay in $work.
source "$(dirname "$0")/../support/virtual-screen.bash"
trap '[ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; virtual_screen_stop; rm -rf "$work"' EXIT
virtual_screen_start 1600x1000x24 "$work"

"${isolate[@]}" "$program" >"$work/output" 2>&1 &
pid=$!
# From here each step checks its own outcome and fails with a message.
set +e
# A failure says what was waited for, prints the program's own output and keeps a picture of the screen
# (in ORV_FAILURE_SHOTS, the build tree's Testing folder under ctest).
fail() {
  echo "FAIL ($mode): $1" >&2
  echo "--- orvalind's output:" >&2
  cat "$work/output" >&2
  echo "--- Xvfb's log:" >&2
  cat "$work/xvfb.log" >&2
  echo "---" >&2
  if [ -n "${ORV_FAILURE_SHOTS:-}" ] && [ -n "$screengrab" ]; then
    local shot
    shot=$ORV_FAILURE_SHOTS/orvalind-$mode-$(date +%Y%m%d-%H%M%S)-$$.png
    mkdir -p "$ORV_FAILURE_SHOTS"
    timeout 20 "$screengrab" "$shot" && echo "screen at the failure: $shot" >&2
  fi
  kill "$pid" 2>/dev/null
  exit 1
}
# Deadlines are in seconds of the shell's clock.
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# The first window found may be replaced while the program starts (an X error then): look again, up to a
# deadline.
deadline=$((SECONDS + 60))
until window=$(xdotool search --onlyvisible --name "^Orvalind$" 2>/dev/null | head -1 || true) && [ -n "$window" ] &&
  timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null; do
  kill -0 "$pid" 2>/dev/null || fail "orvalind ended before its window showed"
  [ "$SECONDS" -lt "$deadline" ] || fail "no window named Orvalind shown and focused within 60 s"
  sleep 0.2
done
if [ "$mode" = quit ]; then
  # Alt+F opens File, Q chooses Quit; a question, when one is asked, is answered with Return (OK).
  xdotool key alt+f
  xdotool key q
  for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    shown "^confirmation$" && xdotool key Return
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "orvalind did not quit within 60 s of File > Quit"
  wait "$pid" || fail "orvalind ended with status $?"
else
  # A key can reach the program on a loaded machine before it listens: it is pressed again until its window
  # shows, and every wait has an end with a message (a lost key would otherwise hang until the timeout).
  press_until_shown() {
    local name=$1 key=$2
    for _ in $(seq 6); do
      xdotool key "$key"
      for _ in $(seq 100); do shown "$name" && return 0; sleep 0.1; done
    done
    fail "no window $name within 60 s of pressing $key six times"
  }
  press_until_shown "^Open From$" ctrl+o
  press_until_shown "^Selection of backup folder$" alt+b
  # Without a window manager the new dialog may not hold the keyboard yet, and a key sent to the blocked
  # window below it is dropped: focus it first, and press again while it stays.
  choose_folder() {
    local dialog
    dialog=$(xdotool search --onlyvisible --name "^Selection of backup folder$" 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] || return 0
    timeout 5 xdotool windowfocus --sync "$dialog" 2>/dev/null
    xdotool key Return
  }
  # Both windows close; the card is read in the background and its stills arrive while the workers run.
  for tick in $(seq 0 599); do
    shown "^Open From$" || break
    [ $((tick % 50)) = 0 ] && choose_folder
    sleep 0.1
  done
  shown "^Open From$" && fail "Open From still shown 60 s after Return in the backup folder dialog"
  if [ "$mode" = quit-loading ]; then
    # The reading starts after a short pause and takes many seconds; quit in the middle of it. What the
    # program has read (rchar: its read calls' bytes, the card's holes included) is sampled until it ends:
    # a quit that waited for the reading would end only after every movie was read.
    sleep 1.5
    kill -0 "$pid" 2>/dev/null || fail "orvalind ended"
    xdotool key alt+f
    xdotool key q
    start=$(date +%s%N) read_bytes=0
    while kill -0 "$pid" 2>/dev/null && [ $((($(date +%s%N) - start) / 1000000)) -lt 30000 ]; do
      read_bytes=$(sed -n 's/^rchar: //p' "/proc/$pid/io" 2>/dev/null || echo "$read_bytes")
      sleep 0.05
    done
    took=$((($(date +%s%N) - start) / 1000000))
    kill -0 "$pid" 2>/dev/null && fail "orvalind did not quit within 30 s of File > Quit while the card was read"
    wait "$pid" || fail "orvalind ended with status $?"
    card_bytes=$(du -cb --apparent-size "$work"/backup/Sample/MOVE001/*.MP4 | tail -1 | cut -f1)
    echo "quit during the load took $took ms; orvalind had read $read_bytes bytes, the card's movies hold $card_bytes"
    [ "${read_bytes:-0}" -lt "$card_bytes" ] || fail "orvalind read the whole card before it ended: Quit waited for the reading"
  else
    for _ in $(seq 30); do
      shown "^Warning$" && fail "an alert came up"
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null || fail "orvalind ended"
    if [ "$mode" = play ]; then
      shot() { [ -n "$shots" ] && "$screengrab" "$shots/$1.png"; return 0; }
      eval "$(xdotool getwindowgeometry --shell "$window")"
      # Places at the window size of the first start: tab buttons, then the first row below the header.
      click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5; }
      sleep 1; shot trip-1; sleep 3; shot trip-2
      shown "^Warning$" && fail "an alert came up while the trip played"
      click 1009 276; click 1037 350
      sleep 1; shot event-1; sleep 3; shot event-2
      shown "^Warning$" && fail "an alert came up while the event played"
      click 1220 276; click 1037 350
      sleep 1; shot adventure-1; sleep 3; shot adventure-2
      shown "^Warning$" && fail "an alert came up while the adventure played"
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
    # Ended as a desktop session ends it.
    kill "$pid"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
      fail "orvalind did not end within 10 s of SIGTERM"
    fi
    wait "$pid" 2>/dev/null
  fi
fi
pid=
set -e
cat "$work/output" >&2
# A quiet terminal: Qt's debug and info lines only when asked for, no probing of hardware decoders, no
# lines of Chromium (a GPU context it retries), of the sound libraries (ALSA, PipeWire, on a machine
# without a sound device) or of FFmpeg (a damaged movie).
if grep -E '^(debug|info): |Cannot load libcuda|^\[[0-9:/.]+:(ERROR|WARNING|INFO)|^ALSA lib |^\[[EWI]\]\[|pw\.conf|moov atom' \
  "$work/output" >&2; then
  echo "debug output, a hardware decoder probe or a library's own lines on the terminal" >&2
  exit 1
fi

case $mode in quit | quit-loading) grep -q 'TQ-MW58_ViewerFirstLaunch=true' "$work/config/Orvalind/Orvalind.ini" ;; esac
