#!/usr/bin/env bash
# Configures and builds everything into build/ (two jobs: the machines are small),
# with warnings as errors: ours must stay warning-free.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRANE_WERROR=ON >/dev/null
cmake --build build -j2
