#!/usr/bin/env bash
# Quick start: install what is missing, build, and run every test: the unit and
# end-to-end tests, then the Qt-free parts' tests cross-compiled for Windows and
# run under Wine (where MinGW-w64 and Wine are installed), then the core under
# AddressSanitizer and UBSan, then a short fuzz run of the interpreter and the
# assembler.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -x /usr/lib/wine/wine64 ] && [ -d /usr/src/googletest ]; then
    scripts/test-windows.sh
else
    echo "test: skipped the Windows tests under Wine: MinGW-w64, wine64 or googletest's sources are missing" \
        "(scripts/install-deps.sh installs g++-mingw-w64-x86-64-posix, wine64 and googletest)"
fi
scripts/check-sanitizers.sh
