#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Builds the core with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/, runs its tests there (the replay of every capture at chunk
# sizes 1, 7, 64 and 4096 among them), then fuzzes the interpreter, the
# assembler and the health check (its framing and both of its reports) for 25
# seconds each, seeded from the project's captures in
# tests/captures/ and from the corpus of real captures (VELTRANE_CORPUS_DIR,
# by default ../shared/corpus/) when it is there. Exits non-zero on any test
# failure or sanitizer report; a fuzzer's finding is kept in
# build-asan/fuzz-findings/ to be replayed with the fuzz target alone.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-asan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELTRANE_WITH_QT=OFF -DVELTRANE_SANITIZE=ON -DVELTRANE_FUZZ=ON -DVELTRANE_BENCH=OFF -DVELTRANE_WERROR=ON >/dev/null
cmake --build build-asan -j2

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-asan --output-on-failure -j2

corpus=$(sed -n 's/^VELTRANE_CORPUS_DIR:PATH=//p' build-asan/CMakeCache.txt)
seed_folders=(tests/captures)
if [ -d "$corpus" ]; then
    seed_folders+=("$corpus")
else
    echo "check-sanitizers: skipped the corpus of real captures: $corpus not found (it is optional)"
fi

seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
mkdir -p "$seeds/sentences" "$seeds/captures" build-asan/fuzz-findings
n=0
while IFS= read -r -d '' capture; do
    n=$((n + 1))
    cp "$capture" "$seeds/captures/$n.log"
    # The first sentences of each capture, one per file, for the interpreter.
    grep -a '^\$' "$capture" | head -n 30 | split -l 1 - "$seeds/sentences/$n-" || true
done < <(find "${seed_folders[@]}" -name '*.log' -print0 | sort -z)

fuzz() {
    local target=$1 seed_dir=$2 max_len=$3
    local log=build-asan/fuzz-findings/$target.log
    mkdir -p "$seeds/$target-new"
    echo "fuzzing $target for 25 s from $(ls "$seed_dir" | wc -l) seeds"
    if ! "build-asan/fuzz/$target" -max_total_time=25 -max_len="$max_len" -timeout=10 \
        -artifact_prefix=build-asan/fuzz-findings/ "$seeds/$target-new" "$seed_dir" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "check-sanitizers: $target found a fault; the input is in build-asan/fuzz-findings/" >&2
        return 1
    fi
    grep -a 'Done ' "$log" | tail -n 1
}

fuzz process_sentence_fuzz "$seeds/sentences" 4096
fuzz assembler_fuzz "$seeds/captures" 8192
fuzz health_check_fuzz "$seeds/captures" 16384
echo "check-sanitizers: no report"
