#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# What watching a receiver costs: the window against gpsd plus its GTK client
# xgps, side by side under one virtual X server, each fed by its own simulator
# playing bench/captures/receiver-1hz.nmea at 4800 baud (a 1 Hz receiver's
# GGA, GSA, three GSV and RMC; the simulator plays it back to back, about 1.1
# fixes a second, so the figures err on the high side). Beside them the floor:
# a bare Qt window that reads its own such port at a 100 ms tick, as the window
# does (bench/bare_port_reader.cpp); what the window costs above it is its own
# work.
#
# CPU is the scheduler's own count of time on a processor (nanoseconds, all
# threads), not the clock-tick samples of /proc/PID/stat, which miss most of
# a program that runs in short bursts. The machines are shared, so the shares
# swing with the load of other work: compare only figures of one run, and
# read the load averages printed with them.
#
# Usage: scripts/bench-window-cpu.sh [SECONDS [ROUNDS]]   (default 30 s, 3 rounds)
#        scripts/bench-window-cpu.sh --instructions [SECONDS]   (default 20 s)
# The second form counts the instructions the window and the bare reader
# execute while the capture plays for SECONDS, one program at a time under
# callgrind: slower, but the same on a busy machine as on a quiet one.
# VELTRANE_BUILD_DIR names the build directory (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRANE_BUILD_DIR:-build}
capture=bench/captures/receiver-1hz.nmea
gpsd_port=${GPSD_PORT:-29470}

arguments=("$@")
mode=cpu
if [ "${1:-}" = --instructions ]; then
    mode=instructions
    shift
fi
seconds=${1:-$([ $mode = cpu ] && echo 30 || echo 20)}
rounds=${2:-3}

packages=(xvfb xauth)
if [ $mode = cpu ]; then packages+=(gpsd gpsd-clients); else packages+=(valgrind); fi
scripts/install-deps.sh "${packages[@]}"

for program in "$build/tools/sim/veltrane-sim" "$build/ui/veltrane" "$build/bench/bare_port_reader"; do
    if [ ! -x "$program" ]; then
        echo "bench-window-cpu: $program is missing: build first with scripts/build.sh" >&2
        exit 1
    fi
done

if [ -z "${VELTRANE_BENCH_INSIDE_XVFB:-}" ]; then
    VELTRANE_BENCH_INSIDE_XVFB=1 exec xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" "$0" "${arguments[@]}"
fi

pids=()
# A name of its own: on the shared machine, folders named /tmp/tmp.* have
# vanished in the middle of a run.
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-bench.XXXXXX")
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

source scripts/process_figures.bash

# Runs one program under callgrind while the capture plays, and prints the
# instructions it executed per second of capture, start-up left out.
count_instructions() {
    local label=$1 ports=$2
    shift 2
    local out=$work/callgrind.$RANDOM
    VELTRANE_PORTS=$ports valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >"$work/valgrind.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    sleep 15  # start-up under valgrind, and the first fixes
    callgrind_control --zero "$pid" >/dev/null 2>&1
    sleep "$seconds"
    callgrind_control --dump "$pid" >/dev/null 2>&1
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    local total
    total=$(awk '/^summary:/ { print $2; exit }' "$out.1" 2>/dev/null || true)
    if [ -z "$total" ]; then
        echo "bench-window-cpu: callgrind wrote no counts for $label; it said:" >&2
        cat "$work/valgrind.log" >&2
        exit 1
    fi
    awk -v l="$label" -v n="$total" -v s="$seconds" 'BEGIN { printf "%-17s %6.2f M instructions per second of capture\n", l ":", n / s / 1e6 }'
}

if [ $mode = instructions ]; then
    echo "capture: $capture at 4800 baud, $seconds s per program under callgrind; load $(load)"
    start_simulator 1
    count_instructions "veltrane window" "1=$pty" "$build/ui/veltrane"
    start_simulator 2
    count_instructions "bare Qt reader" "" "$build/bench/bare_port_reader" "$pty"
    exit 0
fi

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

memory() {
    local kb=0 pid
    for pid in "$@"; do kb=$((kb + $(resident_kb "$pid"))); done
    awk -v kb="$kb" 'BEGIN { printf "%.1f MB", kb / 1024 }'
}

declare -A shares
echo "capture: $capture at 4800 baud, $rounds rounds of $seconds s; % of one core"
printf '%-6s %-18s %8s %12s %10s\n' round "load (1/5/15 min)" window "gpsd + xgps" "bare Qt"
for round in $(seq "$rounds"); do
    declare -A before=()
    for pid in "${watched[@]}"; do before[$pid]=$(cpu_ns "$pid"); done
    start=$(date +%s%N)
    sleep "$seconds"
    elapsed=$(($(date +%s%N) - start))
    share() {
        local ns=0 pid
        for pid in "$@"; do ns=$((ns + $(cpu_ns "$pid") - before[$pid])); done
        awk -v ns="$ns" -v e="$elapsed" 'BEGIN { printf "%.3f", 100 * ns / e }'
    }
    shares[window]+="$(share "$window_pid") "
    shares[gpsd]+="$(share "$gpsd_pid" "$xgps_pid") "
    shares[floor]+="$(share "$floor_pid") "
    read -r -a w <<<"${shares[window]}"
    read -r -a g <<<"${shares[gpsd]}"
    read -r -a f <<<"${shares[floor]}"
    printf '%-6s %-18s %8s %12s %10s\n' "$round" "$(load)" "${w[-1]}" "${g[-1]}" "${f[-1]}"
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
printf '%-25s %8s %12s %10s\n' median "$(median "${shares[window]}")" "$(median "${shares[gpsd]}")" "$(median "${shares[floor]}")"
printf '%-25s %8s %12s %10s\n' resident "$(memory "$window_pid")" "$(memory "$gpsd_pid" "$xgps_pid")" "$(memory "$floor_pid")"
