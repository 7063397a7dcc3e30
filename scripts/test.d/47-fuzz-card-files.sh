#!/usr/bin/env bash
# Short fuzz runs of the management files, the settings file and the header file, read as on a card;
# any crash, hang or sanitizer report fails it. With the MP4 and clip-archive runs, all of CI's fuzzing
# stays within five minutes.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/fuzz "${FUZZ_CARD_FILE_SECONDS:-20}" vrec prct adv setinf playback
