# A virtual X screen of a test's own, for scripts that source this file. Xvfb picks a free display
# itself (-displayfd): a socket it can bind is the display it takes, so servers started side by side never
# share a number (xvfb-run -a guesses one from lock files, and Xvfb leaves none with -displayfd). It never
# resets (-noreset): by default an X server resets when its last client leaves, and a program connecting
# in that moment is turned away ("could not connect to display") - as when xdotool, looking for the
# program's window, closes its connection just as the program opens its own.
# Every wait here has a deadline and says what it waited for.

# virtual_screen_start SIZE FOLDER: starts Xvfb with one screen of SIZE (WxHxD), its log in FOLDER/xvfb.log;
# exports DISPLAY and sets VIRTUAL_SCREEN_PID. Fails, with Xvfb's log, when no display is ready in 30 s.
virtual_screen_start() {
  local size=$1 folder=$2 deadline=$((SECONDS + 30))
  : >"$folder/display"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
  VIRTUAL_SCREEN_PID=$!
  # The number is written once the server takes connections.
  until grep -qx '[0-9][0-9]*' "$folder/display"; do
    if ! kill -0 "$VIRTUAL_SCREEN_PID" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
      echo "no virtual X screen: Xvfb wrote no display number within 30 s; its log:" >&2
      cat "$folder/xvfb.log" >&2
      return 1
    fi
    sleep 0.05
  done
  export DISPLAY=:$(cat "$folder/display")
}

# virtual_screen_window_manager FOLDER: starts openbox on the screen of virtual_screen_start, its log in
# FOLDER/openbox.log, for tests of what a window manager does to the program's windows (minimising,
# restoring, stacking); sets WINDOW_MANAGER_PID. Ready once it answers the desktop-count query, which a
# bare X server does not; fails, with its log, when it does not within 30 s.
virtual_screen_window_manager() {
  local folder=$1 deadline=$((SECONDS + 30))
  openbox >"$folder/openbox.log" 2>&1 &
  WINDOW_MANAGER_PID=$!
  until xdotool get_num_desktops >/dev/null 2>&1; do
    if ! kill -0 "$WINDOW_MANAGER_PID" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
      echo "no window manager: openbox did not take the screen within 30 s; its log:" >&2
      cat "$folder/openbox.log" >&2
      return 1
    fi
    sleep 0.05
  done
}

# Ends the window manager and the Xvfb of virtual_screen_start, if any.
virtual_screen_stop() {
  if [ -n "${WINDOW_MANAGER_PID:-}" ]; then
    kill "$WINDOW_MANAGER_PID" 2>/dev/null || true
    wait "$WINDOW_MANAGER_PID" 2>/dev/null || true
    WINDOW_MANAGER_PID=
  fi
  [ -n "${VIRTUAL_SCREEN_PID:-}" ] || return 0
  kill "$VIRTUAL_SCREEN_PID" 2>/dev/null || true
  wait "$VIRTUAL_SCREEN_PID" 2>/dev/null || true
  VIRTUAL_SCREEN_PID=
}
