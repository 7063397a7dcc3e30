#!/usr/bin/env bash
# Short fuzz runs of every reader of untrusted bytes, side by side: the MP4 box and recording readers,
# the keyed-archive reader with the trimmed clip's archive decoding (a clip's udat box comes from any
# file the user opens), the four DAT recording readers, and the management, settings and header files
# read as on a card. Any crash, hang or sanitizer report fails it.
set -euo pipefail
cd "$(dirname "$0")/../.."
card=${FUZZ_CARD_FILE_SECONDS:-20}
scripts/fuzz "$card" mp4="${FUZZ_SECONDS:-60}" clip-archive="${FUZZ_SECONDS:-45}" dat="${FUZZ_DAT_SECONDS:-25}" \
  vrec prct adv setinf playback
