#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-2-Clause
# Quick start: install what is missing, build what the demonstration needs (the
# window, the simulator and the command-line tool, not the tests), and show the
# window on live data from the receiver simulator (the command-line monitor
# when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh veltrane veltrane-sim veltrane-cli
exec scripts/demo.sh "$@"
