#!/usr/bin/env bash
# Draws the program icon data/velorin_icon.png: a red map pin over a small
# map tile (land, a river and a road). Drawn at eight times the size and then
# scaled down to 32 x 32 so the edges are smooth. Needs ImageMagick 6 or 7.
# The output carries no time stamps, so running it again gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-data/velorin_icon.png}

magick=convert
command -v magick >/dev/null 2>&1 && magick="magick"

"$magick" -size 256x256 xc:none \
  -fill '#e9f2d6' -stroke '#4f6f34' -strokewidth 10 \
  -draw 'roundrectangle 14,30 242,242 34,34' \
  -fill none -stroke '#3d8fd8' -strokewidth 26 \
  -draw 'path "M 20,200 C 80,150 150,240 238,170"' \
  -stroke '#ffffff' -strokewidth 16 \
  -draw 'line 60,236 200,36' \
  -stroke '#b79a5a' -strokewidth 4 \
  -draw 'line 52,236 192,36' -draw 'line 68,236 208,36' \
  -fill '#00000055' -stroke none \
  -draw 'ellipse 140,222 34,10 0,360' \
  -fill '#7a1410' -stroke none \
  -draw 'path "M 128,228 C 104,176 66,144 66,96 A 62,62 0 1 1 190,96 C 190,144 152,176 128,228 Z"' \
  -fill '#e0362b' \
  -draw 'path "M 128,214 C 108,170 76,140 76,96 A 52,52 0 1 1 180,96 C 180,140 148,170 128,214 Z"' \
  -fill '#ffffff' -draw 'circle 128,94 128,70' \
  -fill '#7a1410' -draw 'circle 128,94 128,84' \
  -filter Lanczos -resize 32x32 \
  -strip -define png:exclude-chunks=date,time \
  "PNG32:$out"
echo "wrote $out"
