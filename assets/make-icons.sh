#!/bin/sh
# SPDX-License-Identifier: BSD-2-Clause
# Renders the window and desktop icons from veltrane.svg. Run it after
# changing the drawing and commit the PNGs it writes beside the source.
set -eu
cd "$(dirname "$0")"
# The real ImageMagick, not a wrapper earlier on PATH.
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
for size in 16 32 64; do
    "$convert" -background none -density $((96 * size / 32)) veltrane.svg \
        -resize "${size}x${size}" "PNG32:veltrane-$size.png"
done
