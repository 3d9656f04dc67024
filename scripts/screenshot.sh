#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Remakes docs/screenshot.png: the window on live data from veltrane-sim, on a
# virtual X server (xvfb-run), captured with ImageMagick's import.
#
# Usage: scripts/screenshot.sh   (VELTRANE_BUILD_DIR names the build directory; default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
export VELTRANE_BUILD_DIR=${VELTRANE_BUILD_DIR:-build}
if [ "${1:-}" != --inside-xvfb ]; then
    exec xvfb-run --auto-servernum --server-args="-screen 0 640x600x24" "$0" --inside-xvfb
fi

screenshot=docs/screenshot.png
mkdir -p docs
scripts/demo.sh &
demo_pid=$!
# Long enough for a few seconds of sentences to fill the readout and the log.
sleep 6
# The bare X server draws no frame and no desktop: cut the window out of the black root.
import -window root png:- | /usr/bin/convert png:- -trim +repage "$screenshot"
kill "$demo_pid"
wait "$demo_pid" 2>/dev/null || true
echo "wrote $screenshot"
