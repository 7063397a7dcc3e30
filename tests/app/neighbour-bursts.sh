#!/usr/bin/env bash
# A neighbour working on the machine in bursts at random moments, until it is ended: a busy loop on every
# core, a 1080p video encode, or both, each burst 0.5 to 4 s long, with 0.5 to 6 s of quiet between. For
# checking by hand that the on-screen checks hold on a busy machine, e.g.
#   tests/app/neighbour-bursts.sh & scripts/test.d/30-player-gl.sh; kill %1
set -uo pipefail
cores=$(nproc)
children=()
end_burst() {
  for pid in "${children[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${children[@]}"; do wait "$pid" 2>/dev/null; done
  children=()
}
trap 'end_burst; exit 0' TERM INT
# A random length of a few seconds, in ms.
between() { echo $(($1 + RANDOM % ($2 - $1))); }
# Sleeps between the two lengths; a signal ends the wait at once.
pause() {
  sleep "$(awk -v ms="$(between "$1" "$2")" 'BEGIN { print ms / 1000 }')" &
  wait $!
}
while :; do
  pause 500 6000
  kind=$((RANDOM % 3))
  if [ "$kind" -ne 1 ]; then
    for _ in $(seq "$cores"); do
      sh -c 'while :; do :; done' &
      children+=($!)
    done
  fi
  if [ "$kind" -ne 0 ]; then
    ffmpeg -nostdin -loglevel error -f lavfi -i testsrc2=size=1920x1080:rate=30 -c:v libx264 -preset fast \
      -f null - &
    children+=($!)
  fi
  pause 500 4000
  end_burst
done
