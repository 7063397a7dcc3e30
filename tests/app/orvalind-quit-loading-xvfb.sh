#!/usr/bin/env bash
# Starts orvalind as orvalind-open-xvfb.sh does, opens a card whose reading takes long and quits through the
# File menu while it is read: the program must end by itself before it has read the whole card, with
# status 0, keeping its settings.
#   orvalind-quit-loading-xvfb.sh ORVALIND
ORV_XVFB_MODE=quit-loading exec "$(dirname "$0")/orvalind-open-xvfb.sh" "$1"
