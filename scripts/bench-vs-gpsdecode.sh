#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# veltrane-cli replay and the offline health check against gpsd's gpsdecode,
# all three on the same 50 MB capture, side by side in one run: three
# alternating rounds, the best time of each counted, printed as MB/s and as a
# ratio to gpsdecode, and the check's speed as a share of replay's (it should
# be at least half). The capture is the corpus of real captures
# (VELTRANE_CORPUS_DIR, by default ../shared/corpus) concatenated until it is
# that large, or the project's own captures when the corpus is not there.
# Builds a Release veltrane-cli in $BUILD_DIR (default build-release) and
# installs gpsd-clients when gpsdecode is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-release}

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_WERROR=ON >/dev/null
corpus=$(sed -n 's/^VELTRANE_CORPUS_DIR:PATH=//p' "$build_dir/CMakeCache.txt")
if [ ! -d "$corpus" ]; then
    echo "bench-vs-gpsdecode: $corpus not found; using the project's own captures"
    corpus=tests/captures
fi

scripts/install-deps.sh gpsd-clients

cmake --build "$build_dir" -j2 --target veltrane-cli
cli=$build_dir/tools/cli/veltrane-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
capture=$work/capture.log
target=$((50 * 1024 * 1024))
: >"$capture"
mapfile -d '' logs < <(find "$corpus" -name '*.log' -print0 | sort -z)
while [ "$(stat -c %s "$capture")" -lt "$target" ]; do cat "${logs[@]}" >>"$capture"; done
bytes=$(stat -c %s "$capture")

# Usage: seconds STATUS COMMAND...: the time COMMAND took; it may end with 0
# or STATUS, anything else (a crash, a usage error) would time a failure.
seconds() {
    local allowed=$1 start end status=0
    shift
    start=$(date +%s.%N)
    "$@" >/dev/null || status=$?
    end=$(date +%s.%N)
    if [ "$status" -ne 0 ] && [ "$status" -ne "$allowed" ]; then
        echo "bench-vs-gpsdecode: $* ended with status $status" >&2
        exit 1
    fi
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
best() { printf '%s\n' "$@" | sort -g | head -n 1; }

replay_times=() check_times=() gpsdecode_times=()
for round in 1 2 3; do
    replay_times+=("$(seconds 0 "$cli" replay --chunk-bytes 4096 --json "$capture")")
    # The verdict may be a fail (exit 1): the figures are what is timed.
    check_times+=("$(seconds 1 "$cli" check --json --file "$capture")")
    gpsdecode_times+=("$(seconds 0 sh -c 'gpsdecode < "$1"' gpsdecode "$capture")")
    echo "round $round: replay ${replay_times[-1]} s, check ${check_times[-1]} s, gpsdecode ${gpsdecode_times[-1]} s"
done

awk -v bytes="$bytes" -v replay="$(best "${replay_times[@]}")" -v check="$(best "${check_times[@]}")" \
    -v gpsdecode="$(best "${gpsdecode_times[@]}")" 'BEGIN {
    mb = bytes / 1e6
    printf "capture: %.1f MB\n", mb
    printf "veltrane-cli replay --chunk-bytes 4096 --json: %6.1f MB/s, %5.1f times as fast as gpsdecode\n", mb / replay, gpsdecode / replay
    printf "veltrane-cli check --json --file:              %6.1f MB/s, %5.1f times as fast as gpsdecode\n", mb / check, gpsdecode / check
    printf "gpsdecode:                                     %6.1f MB/s\n", mb / gpsdecode
    printf "check --file runs at %.2f times the speed of replay --json\n", replay / check
}'
