#!/usr/bin/env bash
# Opens the sample card as orvalind-open-xvfb.sh does, lets the first trip play, then clicks the first
# event row and the adventure row; nothing may raise an alert. With a folder given, the screen is grabbed
# twice a few seconds apart for each item (video, meter, charts and car moving together).
#   orvalind-play-xvfb.sh ORVALIND SAMPLECARD SCREENGRAB [SHOTS_DIR]
ORV_XVFB_MODE=play exec "$(dirname "$0")/orvalind-open-xvfb.sh" "$@"
