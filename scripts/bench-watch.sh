#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# What watching a bench of receivers for a long time costs veltrane-cli
# watch, and that it loses and adds nothing. 16 receivers at 115200 baud,
# each veltrane-sim playing CAPTURE (default the multi-GNSS receiver with UBX
# frames among the project's captures) over and over at the line's full
# pace, about 11 kB/s each, far more than any receiver sends, are watched for
# SECONDS (default 600):
#
#  - every minute, the watch's share of one core so far (the scheduler's own
#    count of its time on a processor, all threads) and its resident memory;
#  - then 1,000 scrapes a second for 10 s (build/bench/scrape_watch): how they
#    are answered, and whether the reading kept its pace meanwhile;
#  - then the simulators stop, and each receiver's counters as the watch
#    serves them are held against what its simulator sent: each line is a
#    socat pair that dumps every byte passed from the simulator to the port
#    the watch reads (socat -r), and `veltrane-cli check --file` of that dump
#    counts its sentences by the same definitions. Bytes, sentences by
#    address, checksum errors, damaged sentences and binary frames must all
#    be equal.
#
# The machines are shared: read the load averages printed with the shares.
#
# Usage: scripts/bench-watch.sh [SECONDS [CAPTURE]]
# VELTRANE_BUILD_DIR names the build directory (default build). Exits 1 when a
# receiver's counts differ or the watch does not run as it should.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRANE_BUILD_DIR:-build}
seconds=${1:-600}
capture=${2:-tests/captures/sim-gn-ubx-9600.log}
count=16
baud=115200
sim=$build/tools/sim/veltrane-sim
cli=$build/tools/cli/veltrane-cli
scraper=$build/bench/scrape_watch

source scripts/simulator.bash
source scripts/process_figures.bash
require_built "$sim" "$cli" "$scraper"
command -v socat >/dev/null || { echo "bench-watch: socat is missing: run scripts/install-deps.sh" >&2; exit 1; }
work=$(mktemp -d)
pairs=()
sims=()
stop_all() {
    local pid
    for pid in "${sims[@]}" "${pairs[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${sims[@]}" "${pairs[@]}"; do wait "$pid" 2>/dev/null || true; done
    sims=()
    pairs=()
}
trap 'stop_all; cleanup; rm -rf "$work"' EXIT

# waits_for TEXT N: until the watch's output holds N lines with TEXT (60 s at most).
waits_for() {
    for _ in $(seq 600); do
        [ "$(grep -c -- "$1" "$work/watch.out" || true)" -ge "$2" ] && return 0
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "bench-watch: the watch did not say \"$1\" for all $2 receivers; it said:" >&2
    cat "$work/watch.out" "$work/watch.err" >&2
    exit 1
}

ports=()
for i in $(seq "$count"); do
    socat -r "$work/sent.$i" "pty,raw,echo=0,link=$work/receiver.$i" "pty,raw,echo=0,link=$work/gps.$i" &
    pairs+=($!)
    ports+=(--port "$work/gps.$i@$baud")
done
for i in $(seq "$count"); do
    for _ in $(seq 50); do [ -e "$work/gps.$i" ] && break; sleep 0.1; done
done

# The watch holds every port before a byte is sent, so none is lost unread.
"$cli" watch "${ports[@]}" --listen 127.0.0.1:0 >"$work/watch.out" 2>"$work/watch.err" &
app_pid=$!
waits_for ": found at $baud baud" "$count"
url=$(grep -o 'http://[0-9.:]*/metrics' "$work/watch.out" | head -1)
for i in $(seq "$count"); do
    "$sim" --baud "$baud" --device "$work/receiver.$i" --file "$capture" --loop >/dev/null &
    sims+=($!)
done

echo "$count receivers at $baud baud, each playing $(basename "$capture") at the line's pace, watched for $seconds s; load $(load)"
printf '  %8s %12s %12s\n' time "CPU (core)" resident
start=$(date +%s%N)
first_kb=
marks=$( (echo 5; seq 60 60 "$seconds"; echo "$seconds") | awk -v s="$seconds" '$1 <= s' | sort -nu)
for mark in $marks; do
    sleep "$(awk -v m="$mark" -v now="$(date +%s%N)" -v s="$start" 'BEGIN { d = m - (now - s) / 1e9; print (d > 0 ? d : 0) }')"
    kill -0 "$app_pid" 2>/dev/null || { echo "bench-watch: the watch ended early" >&2; cat "$work/watch.err" >&2; exit 1; }
    cpu=$(cpu_ns "$app_pid")
    kb=$(resident_kb "$app_pid")
    first_kb=${first_kb:-$kb}
    elapsed=$((($(date +%s%N) - start) / 1000000))
    awk -v t="$elapsed" -v c="$cpu" -v k="$kb" \
        'BEGIN { printf "  %6.0f s %10.2f %% %9.1f MB\n", t / 1000, 100 * c / (t * 1e6), k / 1024 }'
done
awk -v c="$cpu" -v t="$elapsed" -v a="$first_kb" -v b="$kb" -v l="$(load)" 'BEGIN {
    printf "  CPU %.2f %% of one core (target at most 3 %%); memory %.1f MB at 5 s, %.1f MB at the end (%+.1f MB); load %s\n",
           100 * c / (t * 1e6), a / 1024, b / 1024, (b - a) / 1024, l }'

echo "1,000 scrapes a second for 10 s while it reads (a line carries $((baud / 10)) bytes a second); load $(load)"
"$scraper" "$url" 10 1000

# The simulators stop first, and their pairs once they passed everything on:
# the watch then sees receivers unplugged, after reading all they sent.
kill "${sims[@]}"
wait "${sims[@]}" 2>/dev/null || true
sims=()
sleep 1
kill "${pairs[@]}"
wait "${pairs[@]}" 2>/dev/null || true
pairs=()
waits_for ": lost; reopening when it comes back" "$count"
# The figures are published twice a second.
sleep 1
curl -s "$url" >"$work/metrics"

python3 - "$cli" "$work" "$count" <<'PYTHON'
import json, re, subprocess, sys

cli, work, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
served = {}
for name, labels, value in re.findall(r'^(veltrane_receiver_\w+_total)\{([^}]*)\} (\S+)$', open(f"{work}/metrics").read(), re.M):
    labels = dict(re.findall(r'(\w+)="([^"]*)"', labels))
    port = labels.pop("port")
    served.setdefault(port, {})[(name,) + tuple(sorted(labels.items()))] = float(value)

equal = 0
for i in range(1, count + 1):
    port = f"{work}/gps.{i}"
    alone = json.loads(subprocess.run([cli, "check", "--file", f"{work}/sent.{i}", "--json"],
                                      capture_output=True, check=False).stdout)
    sent = {("veltrane_receiver_bytes_total",): alone["bytes"],
            ("veltrane_receiver_noise_bytes_total",): alone["noise_bytes"],
            ("veltrane_receiver_checksum_errors_total",): sum(s["checksum_invalid"] for s in alone["sentences"].values()),
            ("veltrane_receiver_damaged_sentences_total", ("kind", "cut")): alone["damaged"]["cut"],
            ("veltrane_receiver_damaged_sentences_total", ("kind", "malformed")): alone["damaged"]["malformed"],
            ("veltrane_receiver_binary_frames_total", ("protocol", "ubx")): sum(alone["binary"]["ubx"].values()),
            ("veltrane_receiver_binary_frames_total", ("protocol", "rtcm3")): sum(alone["binary"]["rtcm3"].values()),
            ("veltrane_receiver_reopenings_total",): 0}
    for address, counts in alone["sentences"].items():
        sent[("veltrane_receiver_sentences_total", ("address", address))] = counts["count"]
    watched = served.get(port, {})
    differ = sorted(k for k in sent.keys() | watched.keys() if sent.get(k) != watched.get(k))
    if differ:
        print(f"  {port}: differs from what its simulator sent in " +
              ", ".join(f"{'/'.join(map(str, k))} ({watched.get(k)} against {sent.get(k)})" for k in differ))
    else:
        equal += 1
sentences = [sum(v for k, v in served.get(f"{work}/gps.{i}", {}).items() if k[0] == "veltrane_receiver_sentences_total")
             for i in range(1, count + 1)]
print(f"counts: {equal} of {count} receivers equal to what their simulators sent "
      f"({int(min(sentences))} to {int(max(sentences))} sentences each)")
sys.exit(0 if equal == count else 1)
PYTHON
