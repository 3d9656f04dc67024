#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Shows that a screen reader can read the sentence log: runs the window on a
# virtual X server with Qt's AT-SPI bridge on a private session bus, feeds it
# sentences through a socat pseudo-terminal pair, and reads the log back
# through AT-SPI (tests/ui/accessibility_atspi.py), printing what it read.
#
# Usage: scripts/check-accessibility.sh   (VELTRANE_BUILD_DIR names the build directory; default: build)
# Exit status: 0 read as expected, 1 not, 77 a tool it needs is missing (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRANE_BUILD_DIR:-build}

if [ "${1:-}" != --inside ]; then
    for tool in xvfb-run dbus-run-session socat /usr/bin/python3; do
        command -v "$tool" >/dev/null || { echo "missing $tool"; exit 77; }
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "missing pyatspi (python3-pyatspi)"; exit 77; }
    # The session bus starts the accessibility bus and its registry when asked, and ends them with itself.
    exec xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
        dbus-run-session -- "$0" --inside
fi

folder=$(mktemp -d)
pair=
window=
cleanup() {
    [ -n "$window" ] && kill "$window" 2>/dev/null
    [ -n "$pair" ] && kill "$pair" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$folder"
}
trap cleanup EXIT

socat pty,raw,echo=0,link="$folder/gps" pty,raw,echo=0,link="$folder/receiver" &
pair=$!
for _ in $(seq 50); do [ -e "$folder/receiver" ] && break; sleep 0.1; done

# Tests run with the offscreen platform, which has no accessibility bridge.
unset QT_QPA_PLATFORM
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 VELTRANE_PORTS=1="$folder/gps" "$build/ui/veltrane" &
window=$!
/usr/bin/python3 tests/ui/accessibility_atspi.py "$folder/receiver"
