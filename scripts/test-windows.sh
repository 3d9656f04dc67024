#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Cross-compiles the parts that need no Qt (the core, the health check and the
# serial logic, the Comm map's Windows naming among it) and their tests for
# 64-bit Windows with MinGW-w64 into build-windows/, and runs those tests under
# Wine. Qt for Windows cannot be installed here: the window, veltrane-cli and
# the serial binding are not part of this build.
#
# Installs what it needs when missing: Debian's g++-mingw-w64-x86-64-posix,
# wine64 and googletest (the sources, built here for Windows).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 googletest

wine_dir=/usr/lib/wine
export WINEPREFIX=$PWD/build-windows/wine-prefix
export WINEDEBUG=-all
# Console tests need neither .NET nor the HTML engine, whose installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Wine's background services inherit the output of the program that started
# them and keep it open until the Wine server ends: started under ctest, each
# test would wait seconds for its own output to close. One server for the
# whole run, its services started here with their output going nowhere.
mkdir -p "$WINEPREFIX"
"$wine_dir/wineserver" -p </dev/null >/dev/null 2>&1
trap '"$wine_dir/wineserver" -k 2>/dev/null && "$wine_dir/wineserver" -w; true' EXIT
"$wine_dir/wine64" wineboot --init </dev/null >/dev/null 2>&1

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DVELTRANE_WITH_QT=OFF -DVELTRANE_BENCH=OFF -DVELTRANE_WERROR=ON \
    -DVELTRANE_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
cmake --build build-windows -j2
ctest --test-dir build-windows --output-on-failure -j2
