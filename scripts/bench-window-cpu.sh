#!/usr/bin/env bash
# What watching a receiver costs: the window against gpsd plus its GTK client
# xgps, side by side under one virtual X server, each fed by its own simulator
# playing bench/captures/receiver-1hz.nmea at 4800 baud (a 1 Hz receiver's
# GGA, GSA, three GSV and RMC; the simulator plays it back to back, about 1.1
# fixes a second, so the figures err on the high side). Prints each one's share
# of one core and its resident memory over the same interval, and beside them
# the floor: a bare Qt window that only reads its own such port
# (bench/bare_port_reader.cpp), which is what the receive path costs.
#
# Usage: scripts/bench-window-cpu.sh [SECONDS]   (default 30; VELTRANE_BUILD_DIR
# names the build directory, default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRANE_BUILD_DIR:-build}
seconds=${1:-30}
capture=bench/captures/receiver-1hz.nmea
gpsd_port=${GPSD_PORT:-29470}

missing=()
for tool in Xvfb:xvfb xauth:xauth gpsd:gpsd xgps:gpsd-clients; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

for program in "$build/tools/sim/veltrane-sim" "$build/ui/veltrane" "$build/bench/bare_port_reader"; do
    if [ ! -x "$program" ]; then
        echo "bench-window-cpu: $program is missing: build first with scripts/build.sh" >&2
        exit 1
    fi
done

if [ "${2:-}" != --inside-xvfb ]; then
    exec xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" "$0" "$seconds" --inside-xvfb
fi

pids=()
work=$(mktemp -d)
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a simulator on the capture and sets pty to the pseudo-terminal it
# plays on; not in a subshell, so that cleanup knows its process.
start_simulator() {
    local output=$work/sim$1
    "$build/tools/sim/veltrane-sim" --baud 4800 --loop --file "$capture" >"$output" &
    pids+=($!)
    pty=
    for _ in $(seq 50); do
        IFS= read -r pty <"$output" || true
        [ -n "$pty" ] && break
        sleep 0.1
    done
    if [ -z "$pty" ]; then
        echo "bench-window-cpu: veltrane-sim did not start a pseudo-terminal" >&2
        exit 1
    fi
}

start_simulator 1
window_pty=$pty
start_simulator 2
gpsd_pty=$pty
start_simulator 3
floor_pty=$pty

VELTRANE_PORTS="1=$window_pty" "$build/ui/veltrane" &
window_pid=$!
pids+=("$window_pid")
gpsd -N -n -S "$gpsd_port" "$gpsd_pty" 2>"$work/gpsd.log" &
gpsd_pid=$!
pids+=("$gpsd_pid")
sleep 1
xgps "localhost:$gpsd_port" >"$work/xgps.log" 2>&1 &
xgps_pid=$!
pids+=("$xgps_pid")
"$build/bench/bare_port_reader" "$floor_pty" &
floor_pid=$!
pids+=("$floor_pid")
watched=("$window_pid" "$gpsd_pid" "$xgps_pid" "$floor_pid")

# Past start-up, and past gpsd's hunt for the speed.
sleep 5
for pid in "${watched[@]}"; do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "bench-window-cpu: process $pid ended early; gpsd and xgps said:" >&2
        cat "$work/gpsd.log" "$work/xgps.log" >&2
        exit 1
    fi
done

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

declare -A before
for pid in "${watched[@]}"; do before[$pid]=$(cpu_ticks "$pid"); done
start=$(date +%s.%N)
sleep "$seconds"
end=$(date +%s.%N)

ticks_per_second=$(getconf CLK_TCK)
share() {
    local ticks=0 pid
    for pid in "$@"; do ticks=$((ticks + $(cpu_ticks "$pid") - before[$pid])); done
    awk -v t="$ticks" -v hz="$ticks_per_second" -v a="$start" -v b="$end" \
        'BEGIN { printf "%.2f %% of a core (%.2f s CPU in %.1f s)", 100 * t / hz / (b - a), t / hz, b - a }'
}
memory() {
    local kb=0 pid
    for pid in "$@"; do kb=$((kb + $(resident_kb "$pid"))); done
    awk -v kb="$kb" 'BEGIN { printf "%.1f MB resident", kb / 1024 }'
}

echo "capture: $capture at 4800 baud, measured over $seconds s"
echo "veltrane window: $(share "$window_pid"), $(memory "$window_pid")"
echo "gpsd + xgps:     $(share "$gpsd_pid" "$xgps_pid"), $(memory "$gpsd_pid" "$xgps_pid")"
echo "bare Qt reader:  $(share "$floor_pid"), $(memory "$floor_pid")"
