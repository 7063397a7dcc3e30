#!/usr/bin/env bash
# Starts orvalind as orvalind-open-xvfb.sh does and quits it through the File menu; it must end by itself
# with status 0 and keep its settings.
#   orvalind-quit-xvfb.sh ORVALIND
ORV_XVFB_MODE=quit exec "$(dirname "$0")/orvalind-open-xvfb.sh" "$1"
