#!/usr/bin/env bash
# The GL step run again and again with the neighbour's bursts alongside, to show the on-screen checks hold
# on a busy machine run after run, not once by luck. Each run's output goes to DIR/run-N.log and a line of
# its figures to DIR/summary; a series stopped part way resumes after the last run in the summary.
#   tests/app/gl-series.sh DIR [RUNS]     (RUNS defaults to 30; a run takes about 8 minutes on 8 cores)
# The build must be there already (scripts/test makes it); the step itself installs what it runs.
set -uo pipefail
# DIR is the caller's, so it is made whole before the step's own folder is entered.
dir=$(realpath -m "${1:?usage: tests/app/gl-series.sh DIR [RUNS]}")
cd "$(dirname "$0")/../.." || exit
runs=${2:-30}
mkdir -p "$dir"
summary="$dir/summary"

# Sums a run's "[on screen]" figures: clicks made and lost, pauses made and stepped back, and the freezes
# put down to the machine, with how many of those came while other programs took under half the CPUs.
figures() {
  awk '
    /\[on screen\] clicks [a-z]+: / { made += $5; lost += $7 }
    /\[on screen\] pauses x[0-9] [a-z]+: / { paused += $6; back += $8 }
    /\[on screen\] explained by the machine: / {
      machine++
      if (match($0, /other programs took [0-9]+%/) && substr($0, RSTART + 20, RLENGTH - 21) + 0 < 50) quiet++
    }
    END {
      printf "clicks %d lost %d pauses %d back %d machine %d under-half %d", made, lost, paused, back, machine, quiet
    }' "$1"
}

touch "$summary"
last=$(awk '$1 == "run" { n = $2 } END { print n + 0 }' "$summary")
bursts=
trap '[ -n "$bursts" ] && kill "$bursts" 2>/dev/null; exit 130' INT TERM
for n in $(seq $((last + 1)) "$runs"); do
  start=$(date +%s)
  tests/app/neighbour-bursts.sh &
  bursts=$!
  scripts/test.d/30-player-gl.sh >"$dir/run-$n.log" 2>&1
  rc=$?
  kill "$bursts"
  wait "$bursts" 2>/dev/null
  bursts=
  failed=$(grep -E '^\[  FAILED  \] [A-Z]' "$dir/run-$n.log" | awk '{ print $3 }' | sort -u | tr '\n' ' ')
  echo "run $n rc $rc $(($(date +%s) - start)) s $(git rev-parse --short HEAD) $(figures "$dir/run-$n.log") ${failed}" \
    >>"$summary"
done
awk '$1 == "run" { runs++; if ($4 != 0) failed++ } END { printf "%d runs, %d failed\n", runs, failed }' "$summary"
