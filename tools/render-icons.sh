#!/usr/bin/env bash
# Renders the PNG sizes of the application icon from dist/icons/kabinor.svg
# (needs rsvg-convert, Debian's librsvg2-bin). Run after changing the drawing.
set -euo pipefail
icons="$(cd "$(dirname "$0")/../dist/icons" && pwd)"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$icons/kabinor.svg" -o "$icons/kabinor-$size.png"
done
