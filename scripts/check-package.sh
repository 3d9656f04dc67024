#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Builds the Debian package, has lintian judge it (any error fails), installs
# it with apt-get, runs each program from PATH, removes the package and checks
# that none of its files is left behind.
# Needs root (or sudo); changes the machine's installed packages meanwhile.
set -euo pipefail
cd "$(dirname "$0")/.."
package=$(scripts/package.sh | tail -n 1)
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

echo "package: $package ($(stat -c %s "$package") bytes)"
scripts/install-deps.sh lintian
# Errors fail the run; warnings and notes are shown for a person to weigh.
lintian --fail-on error --info "$package"
echo "lintian: no error"
mapfile -t files < <(dpkg-deb --fsys-tarfile "$package" | tar -t | sed 's|^\./|/|' | grep -v '/$')
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$package" >/dev/null
for program in veltrane veltrane-cli veltrane-sim; do
    echo "$(command -v "$program"): $("$program" --version)"
    man -w "$program" >/dev/null
done
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove --purge -y -qq veltrane >/dev/null
left=0
for file in "${files[@]}"; do
    if [ -e "$file" ]; then
        echo "left behind: $file" >&2
        left=1
    fi
done
[ "$left" -eq 0 ] && echo "removed: none of its ${#files[@]} files is left"
exit "$left"
