#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# What checking a bench of receivers at once costs veltrane-cli check, and
# that it changes no receiver's figures. Two runs, each of 16 simulated
# receivers at 115200 baud checked together for SECONDS (default 60):
#
#  1. receivers as veltrane-sim plays them, standing still: a fix and its
#     sentences once a second, as on a repair bench;
#  2. receivers that play CAPTURE (default the multi-GNSS receiver with UBX
#     frames among the project's captures) over and over at the line's full
#     pace, about 11 kB/s each, far more than any receiver sends.
#
# For each run it prints the check's share of one core (the scheduler's own
# count of its time on a processor, all threads) and its resident memory
# every 5 s. After the second run each receiver's report is held against
# `veltrane-cli check --file` of exactly the bytes that receiver sent (the
# capture repeated up to the report's byte count): every figure and the
# verdict must be equal; only the live-only ones (time to first fix, GGA
# interval, how long it was heard) have no counterpart in a file.
#
# The machines are shared: read the load averages printed with the shares.
#
# Usage: scripts/bench-check-bench.sh [SECONDS [CAPTURE]]
# VELTRANE_BUILD_DIR names the build directory (default build). Exits 1 when a
# receiver's figures differ or a check does not end as it should.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRANE_BUILD_DIR:-build}
seconds=${1:-60}
capture=${2:-tests/captures/sim-gn-ubx-9600.log}
count=16
baud=115200
sim=$build/tools/sim/veltrane-sim
cli=$build/tools/cli/veltrane-cli

source scripts/simulator.bash
source scripts/process_figures.bash
require_built "$sim" "$cli"
work=$(mktemp -d)
trap 'cleanup; rm -rf "$work"' EXIT

# check_bench LABEL: checks every simulated port at once, printing its share
# of a core and its memory every 5 s; its JSON reports go to LABEL.jsonl.
check_bench() {
    local label=$1 ports=() path
    for path in "${paths[@]}"; do ports+=(--port "$path@$baud"); done
    "$cli" check "${ports[@]}" --seconds "$seconds" --json >"$work/$label.jsonl" 2>"$work/$label.err" &
    app_pid=$!
    local start cpu=0 now first_kb= kb=0 elapsed
    start=$(date +%s%N)
    echo "$label: $count receivers at $baud baud for $seconds s, load $(load)"
    printf '  %8s %12s %12s\n' time "CPU (core)" resident
    local sample_cpu sample_kb
    while sleep 5; do
        # The check may end between the two reads; its last whole sample counts.
        sample_cpu=$(cpu_ns "$app_pid" 2>/dev/null) && sample_kb=$(resident_kb "$app_pid" 2>/dev/null) || break
        [ -n "$sample_cpu" ] && [ -n "$sample_kb" ] || break
        cpu=$sample_cpu kb=$sample_kb
        now=$(date +%s%N)
        first_kb=${first_kb:-$kb}
        elapsed=$(((now - start) / 1000000))
        awk -v t="$elapsed" -v c="$cpu" -v k="$kb" \
            'BEGIN { printf "  %6.1f s %10.2f %% %9.1f MB\n", t / 1000, 100 * c / (t * 1e6), k / 1024 }'
    done
    local status=0
    wait "$app_pid" || status=$?
    app_pid=
    # A receiver that fails is a finding of the check, not of this benchmark.
    if [ "$status" -gt 1 ]; then
        echo "bench-check-bench: the check ended with status $status; it said:" >&2
        cat "$work/$label.err" >&2
        exit 1
    fi
    awk -v c="$cpu" -v t="$elapsed" -v a="$first_kb" -v b="$kb" 'BEGIN {
        printf "  CPU %.2f %% of one core (target at most 3 %%); memory %.1f MB at 5 s, %.1f MB at the end (%+.1f MB)\n",
               100 * c / (t * 1e6), a / 1024, b / 1024, (b - a) / 1024 }'
}

start_simulator "$count" "$sim" --count "$count" --baud "$baud"
check_bench "standing receivers"
cleanup
sim_pid=

start_simulator "$count" "$sim" --count "$count" --baud "$baud" --file "$capture" --loop
check_bench "capture at full pace"

python3 - "$cli" "$capture" "$work" <<'PYTHON'
import json, subprocess, sys

cli, capture, work = sys.argv[1:]
live_only = {"port", "baud", "listened_s", "interrupted", "ttff_s", "gga_interval_s"}
played = open(capture, "rb").read()
reports = [json.loads(line) for line in open(f"{work}/capture at full pace.jsonl")]
equal = 0
for report in reports:
    sent = played * (report["bytes"] // len(played) + 1)
    with open(f"{work}/sent", "wb") as file:
        file.write(sent[: report["bytes"]])
    alone = json.loads(subprocess.run([cli, "check", "--file", f"{work}/sent", "--json"],
                                      capture_output=True, check=False).stdout)
    live = {k: v for k, v in report.items() if k not in live_only}
    offline = {k: v for k, v in alone.items() if k not in live_only}
    if live == offline:
        equal += 1
    else:
        differ = sorted(k for k in live.keys() | offline.keys() if live.get(k) != offline.get(k))
        print(f"  {report['port']}: {report['bytes']} bytes; differs from check --file in {', '.join(differ)}")
print(f"  figures: {equal} of {len(reports)} receivers equal to check --file of the bytes each sent "
      f"({min(r['bytes'] for r in reports)} to {max(r['bytes'] for r in reports)} bytes)")
sys.exit(0 if equal == len(reports) == 16 else 1)
PYTHON
