#!/usr/bin/env bash
# Renders the program's icon sizes from its drawing (needs rsvg-convert, librsvg2-bin).
# The PNGs are kept in the repository, so a build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" cps-program.svg -o "cps-program-$size.png"
done
