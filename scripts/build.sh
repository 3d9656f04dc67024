#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Configures and builds into build/ (two jobs: the machines are small), with
# warnings as errors: ours must stay warning-free. With target names, builds
# only those (and what they need); without, everything.
#
# Usage: scripts/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRANE_WERROR=ON >/dev/null
if [ $# -gt 0 ]; then
    cmake --build build -j2 --target "$@"
else
    cmake --build build -j2
fi
