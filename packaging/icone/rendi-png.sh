#!/usr/bin/env bash
# Renders the program icon's PNG sizes from listinova.svg (needs rsvg-convert, librsvg2-bin).
# The PNGs are kept in the repository so that the build needs no renderer.
set -euo pipefail
qui="$(cd "$(dirname "$0")" && pwd)"
for lato in 16 32 48 64 128 256; do
  rsvg-convert -w "$lato" -h "$lato" "$qui/listinova.svg" -o "$qui/listinova-$lato.png"
done
