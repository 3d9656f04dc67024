# SPDX-License-Identifier: BSD-2-Clause
# Sourced by the benchmarks: what a running process costs, and how busy the
# shared machine was meanwhile, read from /proc.

# cpu_ns PID: nanoseconds on a processor, all threads, by the scheduler's own
# count, not the clock-tick samples of /proc/PID/stat, which miss most of a
# program that runs in short bursts.
cpu_ns() {
    local total=0 ns file
    for file in /proc/"$1"/task/*/schedstat; do
        read -r ns _ <"$file"
        total=$((total + ns))
    done
    echo "$total"
}

# resident_kb PID: its resident memory in kB.
resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

# load: the load averages over 1, 5 and 15 minutes.
load() { cut -d' ' -f1-3 /proc/loadavg; }
