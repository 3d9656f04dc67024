#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Installs the Debian 12 packages the build, the tests and the demo need, or
# the packages named on its command line, and only those missing, so a second
# run costs nothing.
#
# Usage: scripts/install-deps.sh [PACKAGE...]
set -euo pipefail

packages=("$@")
if [ ${#packages[@]} -eq 0 ]; then
    packages=(
        cmake ninja-build g++ clang libclang-rt-14-dev
        libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev help2man man-db dpkg-dev file
        qt6-base-dev qt6-serialport-dev libgl-dev
        xvfb xauth imagemagick fonts-dejavu-core socat
        at-spi2-core dbus-daemon python3 python3-pyatspi
        prometheus-cpp-dev prometheus libcurl4-openssl-dev
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
