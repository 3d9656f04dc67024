#!/usr/bin/env bash
# Quick start: install what is missing, build, and show the window on live data
# from the receiver simulator (the command-line monitor when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec scripts/demo.sh "$@"
