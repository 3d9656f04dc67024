# SPDX-License-Identifier: BSD-2-Clause
# Sourced by the demonstrations and benchmarks: starts veltrane-sim, reads the pseudo-terminal
# paths it prints, and ends it, and the program that run started, however the
# script ends.

sim_output=$(mktemp)
sim_pid=
app_pid=
cleanup() {
    for pid in $app_pid $sim_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -f "$sim_output"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# require_built PROGRAM...: ends the script, saying so, when a program it
# needs has not been built.
require_built() {
    local program
    for program in "$@"; do
        if [ ! -x "$program" ]; then
            echo "$(basename "$0" .sh): $program is missing: build first with scripts/build.sh" >&2
            exit 1
        fi
    done
}

# start_simulator COUNT COMMAND...: runs the simulator and waits for the
# COUNT paths it prints, one a line, into the array `paths`.
start_simulator() {
    local count=$1
    shift
    "$@" >"$sim_output" &
    sim_pid=$!
    paths=()
    for _ in $(seq 50); do
        mapfile -t paths <"$sim_output"
        [ ${#paths[@]} -ge "$count" ] && return 0
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "$(basename "$0"): veltrane-sim printed ${#paths[@]} of $count pseudo-terminal paths" >&2
    exit 1
}

# Runs in the background so that a signal to the script ends it at once.
run() {
    "$@" &
    app_pid=$!
    wait "$app_pid"
}
