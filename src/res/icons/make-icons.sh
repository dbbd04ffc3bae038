#!/usr/bin/env bash
# Draws the built-in icons of ICON controls and the tree-view images with
# ImageMagick and writes them beside this script:
#   exclamation.ico info.ico error.ico typical.ico minimal.ico custom.ico
#   setup.ico folder.ico   (32x32 and 16x16, 32-bit with transparency)
#   tree.bmp               (two 32x16 images side by side, 24-bit, magenta
#                           (255,0,255) marks the transparent parts)
# Each picture is drawn on a 128x128 canvas and scaled down, which smooths
# its edges. Run it again after changing a drawing; commit the results.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# icon NAME DRAW-ARGS...: draws on a transparent 128x128 canvas, writes NAME.ico.
icon() {
  local name=$1; shift
  convert -size 128x128 xc:none "$@" "$tmp/$name.png"
  convert "$tmp/$name.png" -resize 32x32 "$tmp/$name-32.png"
  convert "$tmp/$name.png" -resize 16x16 "$tmp/$name-16.png"
  convert "$tmp/$name-32.png" "$tmp/$name-16.png" "$name.ico"
}

# A page of a setup type: white sheet with a grey edge.
SHEET=(-fill white -stroke '#606060' -strokewidth 5 -draw 'roundrectangle 18,8 110,120 10,10')

# Exclamation: yellow warning triangle with a black mark.
icon exclamation \
  -fill '#f5c400' -stroke '#7a5c00' -strokewidth 5 -draw 'polygon 64,8 122,116 6,116' \
  -stroke none -fill black -draw 'polygon 57,40 71,40 68,84 60,84' -draw 'circle 64,99 64,107'

# Information: blue disc with a white "i".
icon info \
  -fill '#1f6fd1' -stroke '#0b3f80' -strokewidth 5 -draw 'circle 64,64 64,6' \
  -stroke none -fill white -draw 'circle 64,36 64,45' -draw 'roundrectangle 55,54 73,104 4,4'

# Error: red disc with a white cross.
icon error \
  -fill '#d42a2a' -stroke '#7c0f0f' -strokewidth 5 -draw 'circle 64,64 64,6' \
  -stroke white -strokewidth 16 -draw 'line 42,42 86,86' -draw 'line 86,42 42,86'

# Typical: a sheet with three full green bars.
icon typical "${SHEET[@]}" -stroke none -fill '#2e9b3a' \
  -draw 'rectangle 32,28 96,44' -draw 'rectangle 32,56 96,72' -draw 'rectangle 32,84 96,100'

# Minimal: a sheet with one short green bar.
icon minimal "${SHEET[@]}" -stroke none -fill '#2e9b3a' -draw 'rectangle 32,28 66,44' \
  -fill '#d0d0d0' -draw 'rectangle 32,56 96,72' -draw 'rectangle 32,84 96,100'

# Custom: a sheet with check boxes, two ticked, and bars of their own lengths.
icon custom "${SHEET[@]}" \
  -fill white -stroke '#404040' -strokewidth 4 \
  -draw 'rectangle 28,26 46,44' -draw 'rectangle 28,56 46,74' -draw 'rectangle 28,86 46,104' \
  -stroke '#2e9b3a' -strokewidth 6 -fill none \
  -draw 'polyline 31,35 37,41 45,28' -draw 'polyline 31,95 37,101 45,88' \
  -stroke none -fill '#2e9b3a' -draw 'rectangle 54,29 98,41' -draw 'rectangle 54,89 84,101' \
  -fill '#d0d0d0' -draw 'rectangle 54,59 92,71'

# Setup: a brown box with a blue arrow going into it.
icon setup \
  -fill '#c98b48' -stroke '#6d4417' -strokewidth 5 -draw 'polygon 14,60 64,76 114,60 114,114 64,124 14,114' \
  -fill '#e0aa6c' -draw 'polygon 14,60 64,44 114,60 64,76' \
  -stroke '#0b3f80' -strokewidth 4 -fill '#2f80e0' -draw 'polygon 52,4 76,4 76,34 92,34 64,62 36,34 52,34'

# Folder: a yellow folder with its tab.
icon folder \
  -fill '#e8b923' -stroke '#8a6a08' -strokewidth 5 \
  -draw 'polygon 8,28 48,28 58,40 120,40 120,112 8,112' \
  -fill '#f7d45a' -draw 'polygon 8,52 120,52 120,112 8,112'

# Tree images: a drive with a green tick (installed) and with a red cross
# (not installed), 32x16 each, on magenta, drawn without smoothing so that
# the mask colour stays exact.
convert -size 64x16 xc:magenta +antialias \
  -fill '#c0c0c0' -stroke '#505050' -strokewidth 1 \
  -draw 'rectangle 1,4 20,12' -draw 'rectangle 33,4 52,12' \
  -stroke none -fill '#909090' -draw 'rectangle 2,11 19,11' -draw 'rectangle 34,11 51,11' \
  -fill '#20c020' -draw 'rectangle 16,7 18,8' -draw 'rectangle 48,7 50,8' \
  -stroke '#1f8a2a' -strokewidth 2 -fill none -draw 'polyline 22,8 25,12 30,2' \
  -stroke '#d42a2a' -draw 'line 55,3 62,11' -draw 'line 62,3 55,11' \
  -type TrueColor BMP3:tree.bmp
