#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Builds the Debian package in build-package/: a Release build of the three
# programs and their manual pages, then `cpack -G DEB`. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=build-package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target veltrane veltrane-cli veltrane-sim man_pages
(cd "$build" && cpack -G DEB >/dev/null)
ls "$PWD/$build"/veltrane_*.deb
