#!/usr/bin/env bash
# A short fuzz run of the MP4 box and recording readers; any crash, hang or sanitizer report fails it.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/fuzz "${FUZZ_SECONDS:-60}" mp4
