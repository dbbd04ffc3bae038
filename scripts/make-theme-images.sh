#!/usr/bin/env bash
# Makes the pictures of the sample project's default theme
# (examples/sample/theme/*.bmp) with ImageMagick. The pictures are drawn from
# fixed colours, gradients and shapes only (no text, no random noise), so a
# rerun gives the same files. They are written as uncompressed 24-bit BMP
# (BMP3), which the setup's picture loader reads on every Windows version.
#
# The splash picture (examples/sample/splash.gif) is an animated GIF: a first
# full frame, then only the part that changes, at its place on the picture.
#
#   scripts/make-theme-images.sh [output folder] [icon folder] [splash file]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/examples/sample/theme}
mkdir -p "$out"
command -v convert >/dev/null || { echo "ImageMagick 'convert' is needed" >&2; exit 1; }

# Theme colours. BANNER must stay equal to the banner colour the layouts give
# their title texts and filler rectangles (22,58,94): the banner picture's
# left edge continues them without a seam.
BANNER='#163A5E'   # 22,58,94   deep blue
DEEP='#0F2C4A'     # 15,44,74   darker blue
TEAL='#0C7C8C'     # 12,124,140 teal
ACCENT='#2BB3C0'   # 43,179,192 light teal
WHITE='#FFFFFF'

# Writes the picture on stdin (MIFF) as a flat 24-bit BMP.
save() {
  convert - -background "$WHITE" -alpha remove -alpha off -type TrueColor \
    -define bmp:format=bmp3 -compress None "BMP3:$out/$1"
}

# The package emblem: an isometric box with a lid seam, centred on (cx, cy),
# edge length s. Prints ImageMagick -draw primitives.
box_emblem() {
  local cx=$1 cy=$2 s=$3
  local h=$((s / 2)) q=$((s * 87 / 100))
  local topx=$cx topy=$((cy - s))
  local lx=$((cx - q)) ly=$((cy - h)) rx=$((cx + q)) ry=$((cy - h))
  local bx=$cx by=$((cy + s))
  local blx=$((cx - q)) bly=$((cy + h)) brx=$((cx + q)) bry=$((cy + h))
  # top face, left face, right face
  echo "fill rgba(255,255,255,0.95) polygon $topx,$topy $rx,$ry $cx,$cy $lx,$ly"
  echo "fill rgba(255,255,255,0.72) polygon $lx,$ly $cx,$cy $bx,$by $blx,$bly"
  echo "fill rgba(255,255,255,0.50) polygon $cx,$cy $rx,$ry $brx,$bry $bx,$by"
  # tape across the lid, from the middle of its back-left edge to the middle
  # of its front-right edge, w wide
  local w=$((s / 4))
  local ax=$((cx - q / 2)) ay=$((cy - s * 3 / 4)) ex=$((cx + q / 2)) ey=$((cy - s / 4))
  local ox=$((q * w / s / 2)) oy=$((h * w / s / 2))
  echo "fill rgba(43,179,192,0.95) polygon $((ax - ox)),$((ay + oy)) $((ax + ox)),$((ay - oy)) $((ex + ox)),$((ey - oy)) $((ex - ox)),$((ey + oy))"
}

# Background of the tall side panel (welcome and complete pages), 164 x 307.
panel_background() {
  convert -size 164x307 "gradient:$BANNER-$TEAL" \
    -fill 'rgba(255,255,255,0.06)' -stroke none \
    -draw 'circle 150,40 150,170' \
    -draw 'circle -20,300 -20,400' \
    -fill none -stroke 'rgba(255,255,255,0.16)' -strokewidth 1 \
    -draw 'circle 150,40 150,190' \
    -draw 'circle 150,40 150,210' \
    -draw 'circle -20,300 -20,380' \
    -stroke 'rgba(43,179,192,0.55)' -strokewidth 2 \
    -draw 'line 0,270 164,238' \
    -stroke 'rgba(255,255,255,0.20)' -strokewidth 1 \
    -draw 'line 0,282 164,250' \
    -draw 'line 0,294 164,262' \
    miff:-
}

# welcome.bmp: side panel with the package emblem.
panel_background |
  convert - -stroke none -draw "$(box_emblem 82 118 38)" miff:- |
  save welcome.bmp

# complete.bmp: side panel with a check mark in a ring.
panel_background |
  convert - \
    -fill 'rgba(255,255,255,0.12)' -stroke 'rgba(255,255,255,0.95)' -strokewidth 5 \
    -draw 'circle 82,118 82,160' \
    -fill none -stroke "$WHITE" -strokewidth 8 \
    -draw 'stroke-linecap round stroke-linejoin round polyline 64,119 77,133 101,104' \
    miff:- |
  save complete.bmp

# banner.bmp: right end of the top banner of the inner pages, 96 x 58. Its
# left part is the flat banner colour so the banner texts continue into it.
convert -size 96x58 "xc:$BANNER" \
  \( -size 58x72 "gradient:$BANNER-$DEEP" -rotate -90 \) -geometry +24+0 -composite \
  -fill 'rgba(255,255,255,0.07)' -stroke none -draw 'circle 66,29 66,60' \
  -fill none -stroke 'rgba(255,255,255,0.14)' -strokewidth 1 -draw 'circle 66,29 66,55' \
  -stroke none -draw "$(box_emblem 66 30 15)" \
  miff:- | save banner.bmp

# accent.bmp: thin teal strip under the banner, 497 x 3.
convert -size 3x497 "gradient:$ACCENT-$TEAL" -rotate -90 miff:- | save accent.bmp

# emblem.bmp: 48 x 48 emblem on white for the small windows (start, language).
convert -size 48x48 "xc:$WHITE" \
  \( -size 44x44 "gradient:$BANNER-$TEAL" \
     \( -size 44x44 xc:black -fill white -draw 'roundrectangle 0,0 43,43 8,8' \) \
     -alpha off -compose CopyOpacity -composite \) \
  -geometry +2+2 -compose Over -composite \
  -stroke none -draw "$(box_emblem 24 24 12)" \
  miff:- | save emblem.bmp

# The sample application's icon (shortcuts, the .cvnote file type, the entry
# in the list of programs): a note sheet with lines, 32x32 and 16x16.
icon_dir=${2:-$root/examples/sample/working}

# The sample's background picture and billboards lie in its working files:
# the setup finds them in its working folder once the cabinet is extracted.
save_working() { out=$icon_dir save "$1"; }

# backdrop.bmp: the emblem drawn at the top left of the full-screen
# background, 64 x 64, on the background's own top colours (navy, turning
# toward teal) so that it sits on the gradient without a frame.
convert -size 64x64 'gradient:#000080-#000C80' \
  -stroke none -draw "$(box_emblem 32 34 18)" \
  miff:- | save_working backdrop.bmp

# billboard1.bmp: a note sheet with lines on the banner gradient, 240 x 150.
convert -size 150x240 "gradient:$BANNER-$TEAL" -rotate -90 \
  -fill "$WHITE" -stroke none -draw 'roundrectangle 76,18 164,132 8,8' \
  -stroke "$TEAL" -strokewidth 4 \
  -draw 'line 90,46 150,46' -draw 'line 90,66 150,66' -draw 'line 90,86 150,86' -draw 'line 90,106 130,106' \
  -stroke none -fill "$ACCENT" -draw 'circle 196,34 196,44' -draw 'circle 44,116 44,124' \
  miff:- | save_working billboard1.bmp

# billboard2.bmp: a note sheet under a magnifying glass, 240 x 150.
convert -size 150x240 "gradient:$DEEP-$BANNER" -rotate -90 \
  -fill "$WHITE" -stroke none -draw 'roundrectangle 56,22 136,128 8,8' \
  -stroke "$TEAL" -strokewidth 4 \
  -draw 'line 70,50 122,50' -draw 'line 70,70 122,70' -draw 'line 70,90 106,90' \
  -fill 'rgba(255,255,255,0.25)' -stroke "$ACCENT" -strokewidth 8 -draw 'circle 140,84 140,118' \
  -stroke "$ACCENT" -strokewidth 12 -draw 'line 164,108 196,140' \
  miff:- | save_working billboard2.bmp
convert -size 128x128 xc:none -fill "$WHITE" -stroke "$BANNER" -strokewidth 6 \
  -draw 'roundrectangle 22,8 106,120 10,10' -stroke "$TEAL" -strokewidth 6 \
  -draw 'line 38,40 90,40' -draw 'line 38,62 90,62' -draw 'line 38,84 76,84' \
  -define icon:auto-resize=32,16 "$icon_dir/notes.ico"

# splash.gif: the emblem on the panel's gradient, 360 x 200, with five dots
# below it lit one after the other; the last frame stays.
splash=${3:-$root/examples/sample/splash.gif}
splash_frame() {  # LIT: dots lit from the left
  local dots="" i
  for i in 0 1 2 3 4; do
    local x=$((140 + i * 20)) fill='rgba(255,255,255,0.30)'
    [ "$i" -lt "$1" ] && fill="$WHITE"
    dots+="fill $fill circle $x,165 $((x + 5)),165 "
  done
  convert -size 200x360 "gradient:$BANNER-$TEAL" -rotate -90 \
    -fill 'rgba(255,255,255,0.06)' -stroke none -draw 'circle 330,30 330,160' \
    -fill none -stroke 'rgba(255,255,255,0.16)' -strokewidth 1 -draw 'circle 330,30 330,180' \
    -stroke none -draw "$(box_emblem 180 82 34)" -draw "$dots" miff:-
}
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
for lit in 0 1 2 3 4 5; do splash_frame $lit >"$frames/$lit.miff"; done
convert -delay 30 "$frames"/[0-4].miff -delay 150 "$frames/5.miff" -loop 0 \
  -layers OptimizeFrame "GIF:$splash"

ls -l "$out"/*.bmp "$icon_dir"/*.bmp "$splash"
