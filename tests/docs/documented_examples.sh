#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Runs every command example of the README and of the manual pages that calls
# one of Veltrane's programs, one after another as a reader would type them,
# so that none can go stale. The README's blocks share one shell, as a reader
# works through them; the manual pages come after, afresh, in the order
# veltrane-cli, veltrane-sim (whose capture the first one records), veltrane.
#
# What a reader would have to adapt is adapted: a simulator started with "&"
# prints its pseudo-terminals, and the example paths its comment names
# ("e.g. /dev/pts/5") stand for them from then on; listening is cut to 5 s,
# also a live check's default of 60 s;
# the window, a simulator started without "&" and a watch run for 3 s and
# must still be running then, a watch serving on a free port rather than the
# one documented, which another program may hold. Every other example must
# end with status 0.
#
# Usage: documented_examples.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
background=()
cleanup() {
    local pid
    for pid in "${background[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

ln -s "$build_dir" "$work/build"
ln -s "$source_dir/tests" "$work/tests"
cd "$work" || exit 1
export PATH="$build_dir/tools/cli:$build_dir/tools/sim:$build_dir/ui:$PATH"
export QT_QPA_PLATFORM=offscreen
unset VELTRANE_PORTS
declare -A device=()
failures=0
examples=0

# The lines of the README's sh blocks, and of each page's EXAMPLES section.
readme_examples() { awk '/^```sh$/ { on = 1; next } /^```$/ { on = 0 } on' "$source_dir/README.md"; }
page_examples() {
    sed -n '/^\[EXAMPLES\]/,/^\[/p' "$1" | sed -n '/^\.nf$/,/^\.fi$/p' | grep -v '^\.' | sed 's/\\-/-/g'
}

# The command with every example path replaced by the real one, all at once:
# a real path may be another example's path. Longest first, so that
# /dev/pts/1 never matches the start of /dev/pts/10.
with_devices() {
    local text=$1 path i=0
    local -a order
    mapfile -t order < <(printf '%s\n' "${!device[@]}" | awk 'NF { print length, $0 }' | sort -rn | cut -d' ' -f2)
    for path in "${order[@]}"; do text=${text//"$path"/"@@$((i++))@@"}; done
    for i in "${!order[@]}"; do text=${text//"@@$i@@"/"${device[${order[$i]}]}"}; done
    printf '%s' "$text"
}

report() {
    local status=$1 expected=$2 command=$3 output=$4
    examples=$((examples + 1))
    if [ "$status" -eq "$expected" ]; then
        echo "ok      $command"
    else
        failures=$((failures + 1))
        echo "FAILED  $command: status $status, not $expected; it said:"
        tail -n 20 "$output" | sed 's/^/        /'
    fi
}

# start_background COMMAND COMMENT: a simulator that prints one path a line;
# the example paths in COMMENT name them, in order.
start_background() {
    local command=$1 comment=$2 output="$work/background.${#background[@]}"
    local examples_named
    mapfile -t examples_named < <(grep -o '/dev/pts/[0-9]*' <<<"$comment")
    # The program itself, not a shell around it: the cleanup's signal must reach it.
    bash -c "exec $command" >"$output" 2>&1 &
    background+=($!)
    local printed=()
    for _ in $(seq 50); do
        mapfile -t printed <"$output"
        [ ${#printed[@]} -ge ${#examples_named[@]} ] && break
        sleep 0.1
    done
    local i
    for i in "${!examples_named[@]}"; do device[${examples_named[$i]}]=${printed[$i]:-missing}; done
    report $((${#printed[@]} >= ${#examples_named[@]} ? 0 : 1)) 0 "$command &" "$output"
}

run_example() {
    local line=$1 command comment=
    command=${line%%' #'*}
    [ "$command" != "$line" ] && comment=${line#*' #'}
    command=$(sed 's/[[:space:]]*$//' <<<"$command")
    grep -Eq '(^|[ /=])veltrane(-cli|-sim)?( |$)|^export VELTRANE_' <<<"$command" || return 0
    command=$(with_devices "$command")
    if grep -Eq 'veltrane-cli watch( |$)' <<<"$command"; then
        command=$(sed -E 's/ --listen [^ ]+//; s/[[:space:]]*(&?)$/ --listen 127.0.0.1:0\1/' <<<"$command")
    fi
    if [[ $command == *'&' ]]; then
        start_background "${command%&}" "$comment"
        return
    fi
    if [[ $command == export\ * ]]; then
        eval "$command"
        echo "ok      $command"
        return
    fi
    command=$(sed -E 's/--seconds [0-9]+/--seconds 5/' <<<"$command")
    if grep -Eq 'veltrane-cli check ' <<<"$command" && ! grep -Eq -- '--(seconds|file) ' <<<"$command"; then
        command+=" --seconds 5"
    fi
    local output="$work/output" status
    # Programs that run until stopped: still running after 3 s is what they should do.
    if grep -Eq '(^|[ /])(veltrane|veltrane-sim|veltrane-cli watch)( |$)' <<<"$command"; then
        timeout 3 bash -c "$command" >"$output" 2>&1
        report $? 124 "$command" "$output"
        return
    fi
    timeout 120 bash -c "$command" >"$output" 2>&1
    report $? 0 "$command" "$output"
}

while IFS= read -r line; do run_example "$line"; done < <(readme_examples)
unset VELTRANE_PORTS
device=()
for page in veltrane-cli veltrane-sim veltrane; do
    while IFS= read -r line; do run_example "$line"; done < <(page_examples "$source_dir/docs/man/$page.h2m")
done

echo "$examples examples, $failures failed"
[ "$failures" -eq 0 ] && [ "$examples" -gt 10 ]
