#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Shows the window on live data without any hardware: veltrane-sim plays a
# receiver on a pseudo-terminal and Comm 1 is mapped to it (VELTRANE_PORTS).
# Without a display, veltrane-cli monitor watches the simulator instead.
# Ending the window (or the monitor, with Ctrl+C) ends the simulator.
#
# Usage: scripts/demo.sh [ARGS...]
#   ARGS go to the program that runs: none for the window; for the monitor,
#   for example --seconds 10 or --json. VELTRANE_BUILD_DIR names the build
#   directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRANE_BUILD_DIR:-build}
sim=$build/tools/sim/veltrane-sim
window=$build/ui/veltrane
cli=$build/tools/cli/veltrane-cli

source scripts/simulator.bash
require_built "$sim" "$window" "$cli"
start_simulator 1 "$sim" --baud 4800
pty=${paths[0]}
export VELTRANE_PORTS="1=$pty"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: Comm 1 is the simulator on $pty; close the window to stop" >&2
    run "$window" "$@"
else
    echo "demo: no display; watching the simulator on $pty with veltrane-cli monitor (Ctrl+C stops)" >&2
    run "$cli" monitor --comm 1 --baud 4800 "$@"
fi
