#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Shows a bench of receivers without any hardware: veltrane-sim plays eight
# receivers, each on a pseudo-terminal of its own, at speeds from 4800 to
# 921600 baud and with times to the first fix up to 25 s, and veltrane-cli
# check listens to all of them at once: a live table on a terminal (one plain
# line per change otherwise), then a report per receiver and the bench's
# verdict. With the default threshold the slowest receiver fails it.
#
# Usage: scripts/demo-bench.sh [ARGS...]
#   ARGS go to veltrane-cli check (default: --seconds 30 --max-ttff 20), for
#   example --seconds 20 --json, or --junit bench.xml. VELTRANE_BUILD_DIR
#   names the build directory (default: build). Ends with check's status.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRANE_BUILD_DIR:-build}
sim=$build/tools/sim/veltrane-sim
cli=$build/tools/cli/veltrane-cli
[ $# -gt 0 ] || set -- --seconds 30 --max-ttff 20

source scripts/simulator.bash
require_built "$sim" "$cli"
bauds=(4800 9600 19200 38400 57600 115200 230400 921600)
start_simulator ${#bauds[@]} "$sim" --count ${#bauds[@]} --baud "$(IFS=,; echo "${bauds[*]}")" \
    --ttff 0,3,5,8,2,12,25,1 --talkers gp,gp,gn,gn,gp,gn,gn,gn --ubx=no,no,no,yes,no,yes,yes,yes

# Each port with its speed, but the second: its speed is searched for, as for
# a receiver whose setting nobody wrote down.
ports=()
for i in "${!paths[@]}"; do
    if [ "$i" -eq 1 ]; then
        ports+=(--port "${paths[$i]}")
    else
        ports+=(--port "${paths[$i]}@${bauds[$i]}")
    fi
done
echo "demo-bench: ${#paths[@]} simulated receivers on ${paths[0]} to ${paths[-1]}" >&2

run "$cli" check "${ports[@]}" "$@"
