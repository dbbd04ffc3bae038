#!/usr/bin/env bash
# Billboards and the background window under Wine on a 1024x768x24 screen:
# billboards taken from the working folder, DiskImage1 or DiskImage2, placed
# at their positions (0,0 at 1,1), bad or missing pictures keeping the
# previous one, the window gone after the last and stopped with the setup;
# the background's gradient colours and picture read back from a screenshot;
# neither in an unattended run.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

BILLBOARD_CLASS=CorvaneBillboard   # the slide show's window class
FRAME_CLASS=CorvaneMainFrame       # the main frame, which is the background

# picture FILE COLOUR W H: a flat 24-bit BMP.
picture() { convert -size "$3x$4" "xc:$2" -type TrueColor -define bmp:format=bmp3 "BMP3:$1"; }

# project DIR SETTINGS [CAB_FILES...]: a project whose cabinet also carries
# CAB_FILES (extracted into the working folder), with the complete page alone.
project() {
  local dir=$1 settings=$2; shift 2
  mkdir -p "$dir/theme"
  cp "$CV_ROOT/examples/sample/theme/complete.lcd" "$CV_ROOT/examples/sample/theme/complete.bmp" "$dir/theme/"
  printf 'one' >"$dir/F0_one.txt"
  (cd "$dir" && gcab -c file1.cab F0_one.txt "$@" && rm F0_one.txt "$@")
  printf "[APPINFO]\r\na1=Show Product\r\na4=C:\\\\ShowApp\r\n$ALL_SYSTEMS[DIALOGLIST]\r\nTOTAL1=1\r\nW0=complete.lcd\r\n$settings" \
    >"$dir/setup.plain"
  printf 'payload\\one.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$dir/data.plain"
  "$CVPACK" encrypt "$dir/setup.plain" "$dir/setup.nsx" >/dev/null &&
    "$CVPACK" encrypt "$dir/data.plain" "$dir/data.nsx" >/dev/null
}

# shown TRACE INDEX: the trace line of billboard INDEX, once it is there.
shown() { tr -d '\r' <"$1" | sed -n "s/^$(trace_name kBillboardShown)=$2 //p" | head -n 1; }
wait_shown() { eventually 30 grep -q "^$(trace_name kBillboardShown)=$2 " "$1"; }
# pixel PNG X Y: "#RRGGBB" of one pixel.
pixel() { screen_pixel "$@"; }
is() { [ "$1" = "$2" ] || { echo "got $1, expected $2"; return 1; }; }
window_rect() { drive window 10000 "$1" | sed -n 's/^RECT://p'; }

# ---- From the working folder and DiskImage2; bad and missing pictures --------
P=$S/cab; mkdir -p "$P/DiskImage2"
picture "$P/work.bmp" '#FF0000' 60 40
# A bitmap header promising 60000 x 60000 pixels, followed by a few bytes.
python3 -c 'import struct,sys; sys.stdout.buffer.write(b"BM" + struct.pack("<IHHI", 70, 0, 0, 54) + struct.pack("<IiiHHIIiiII", 40, 60000, 60000, 1, 24, 0, 0, 0, 0, 0, 0) + bytes(16))' >"$P/broken.bmp"
picture "$P/DiskImage2/second.bmp" '#00FF00' 50 30
printf 'not a picture' >"$P/DiskImage2/bad.bmp"
project "$P" '[BILLBOARDSCV]\r\nTOTAL=5\r\nB0=C:\\Art\\work.bmp\r\nC0=4\r\nD0=0\r\nE0=0\r\nB1=second.bmp\r\nC1=4\r\nD1=300\r\nE1=200\r\nB2=bad.bmp\r\nC2=1\r\nB3=missing.bmp\r\nC3=1\r\nB4=broken.bmp\r\nC4=0\r\n' \
  work.bmp broken.bmp
start_setup "$P" "$S/cab.trace"
wait_shown "$S/cab.trace" 0
rect0=$(window_rect $BILLBOARD_CLASS); screen_shows "$S/first.png" 5 5 '#FF0000' 
wait_shown "$S/cab.trace" 1
rect1=$(window_rect $BILLBOARD_CLASS); screen_shows "$S/second.png" 310 210 '#00FF00' 
check billboards-first-from-working-folder bash -c "[[ '$(shown "$S/cab.trace" 0)' == *'\\cv'*'\\work.bmp' ]]"
check billboards-position-0-0-at-1-1 is "$rect0" 1,1,60,40
check billboards-first-picture-on-screen is "$(pixel "$S/first.png" 5 5)" '#FF0000'
check billboards-second-from-diskimage2 bash -c "[[ '$(shown "$S/cab.trace" 1)' == *'\\DiskImage2\\second.bmp' ]]"
check billboards-second-at-its-position is "$rect1" 300,200,50,30
check billboards-second-picture-on-screen is "$(pixel "$S/second.png" 310 210)" '#00FF00'
eventually 30 grep -q "^$(trace_name kBillboardsEnded)" "$S/cab.trace"
check billboards-bad-picture-kept is "$(shown "$S/cab.trace" 2)" kept
check billboards-missing-picture-kept is "$(shown "$S/cab.trace" 3)" kept
check billboards-broken-working-file-kept is "$(shown "$S/cab.trace" 4)" kept
check billboards-window-gone-after-last drive gone 10000 $BILLBOARD_CLASS
THEME=$P/theme
on_page complete.lcd && click complete.lcd IDC_FINISH
wait_setup
check billboards-setup-goes-on-after-show test "$SETUP_RC" -eq 0

# ---- From DiskImage1; the setup ends while a billboard is still up ----------
P=$S/image; mkdir -p "$P/DiskImage1" "$P/theme"
picture "$P/DiskImage1/image.bmp" '#0000FF' 40 40
printf 'one' >"$P/DiskImage1/F0_one.txt"
project "$P" '[BILLBOARDSCV]\r\nTOTAL=1\r\nB0=image.bmp\r\nC0=600\r\nD0=400\r\nE0=0\r\n'
rm -f "$P/file1.cab"
start_setup "$P" "$S/image.trace"
wait_shown "$S/image.trace" 0
check billboards-from-diskimage1 bash -c "[[ '$(shown "$S/image.trace" 0)' == *'\\DiskImage1\\image.bmp' ]]"
check billboards-top-0-at-1 is "$(window_rect $BILLBOARD_CLASS)" 400,1,40,40
THEME=$P/theme
on_page complete.lcd && click complete.lcd IDC_FINISH
wait_setup
check billboards-stopped-with-the-setup test "$SETUP_RC" -eq 0
check billboards-no-end-of-show-when-stopped bash -c "! grep -q '^$(trace_name kBillboardsEnded)' '$S/image.trace'"

# ---- The background: gradient, texts and picture ---------------------------
P=$S/background
mkdir -p "$P"; picture "$P/logo.bmp" '#FFFF00' 30 20
project "$P" '[BACKGROUND]\r\n0=1\r\n1=Show Product\r\n2=Copyright Nobody\r\n3=Sky@0x00,0x80,0xFF\r\n4=Dusk@0xC0,0xFF,0x00\r\n5=C:\\Art\\logo.bmp\r\n' logo.bmp
start_setup "$P" "$S/background.trace"
THEME=$P/theme
on_page complete.lcd
client=$(drive window 10000 $FRAME_CLASS | sed -n 's/^CLIENT://p')
IFS=, read -r cx cy cw ch <<<"$client"
screen_shows "$S/background.png" $((cx + 12)) $((cy + 12)) '#FFFF00' 
# The top colour on the first row, the bottom one approached on the last:
# each component top + (bottom - top) * y / height, as the rows are painted.
row() { printf '#%02X%02X%02X' $(( 0 + 192 * $1 / ch )) $(( 128 + 127 * $1 / ch )) $(( 255 - 255 * $1 / ch )); }
x=$((cx + cw - 10))
check background-full-screen test "${cw:-0}" -ge 1000
check background-top-colour is "$(pixel "$S/background.png" $x $cy)" '#0080FF'
check background-middle-row is "$(pixel "$S/background.png" $x $((cy + ch / 2)))" "$(row $((ch / 2)))"
check background-bottom-row is "$(pixel "$S/background.png" $x $((cy + ch - 1)))" "$(row $((ch - 1)))"
check background-picture-at-10-10 is "$(pixel "$S/background.png" $((cx + 12)) $((cy + 12)))" '#FFFF00'
IFS=, read -r px py pw ph <<<"$(drive window 10000 '#32770' | sed -n 's/^RECT://p')"
page_y=$((py + ph / 2))
check background-page-above-it bash -c "[ '$(pixel "$S/background.png" $((px + pw / 2)) $page_y)' != '$(row $((page_y - cy)))' ]"
click complete.lcd IDC_FINISH
wait_setup
check background-setup-exit-0 test "$SETUP_RC" -eq 0

# ---- With a splash: the splash over the start page and the billboard stay ---
# above the background, which is never raised over them.
P=$S/splash; mkdir -p "$P/DiskImage2"
picture "$P/DiskImage2/board.bmp" '#00FF00' 100 80
project "$P" '[SPLASH]\r\na1=Yes\r\na2=intro.gif\r\na3=3\r\n[BACKGROUND]\r\n0=1\r\n3=x@0x00,0x00,0x80\r\n4=y@0x00,0x80,0x80\r\n[BILLBOARDSCV]\r\nTOTAL=1\r\nB0=board.bmp\r\nC0=60\r\nD0=770\r\nE0=60\r\n'
convert -size 60x40 -delay 30 xc:red xc:blue -loop 0 "$P/setup.gif"
cp "$CV_ROOT/examples/sample/theme/start.lcd" "$CV_ROOT/examples/sample/theme/emblem.bmp" "$P/theme/"
start_setup "$P" "$S/splash.trace"
wait_shown "$S/splash.trace" 0
screen_shows "$S/splash-start.png" 512 384 '#FF0000|#0000FF'
check background-splash-above-it is "$?" 0
screen_shows "$S/splash-board.png" 775 65 '#00FF00'
THEME=$P/theme
on_page complete.lcd 20000
screen_shows "$S/splash-page.png" 775 65 '#00FF00'
check background-billboard-above-it-at-start is "$(pixel "$S/splash-board.png" 775 65)" '#00FF00'
check background-billboard-above-it-after-splash is "$(pixel "$S/splash-page.png" 775 65)" '#00FF00'
click complete.lcd IDC_FINISH
wait_setup
check background-with-splash-exit-0 test "$SETUP_RC" -eq 0

# ---- Unattended: neither --------------------------------------------------
P=$S/quiet
mkdir -p "$P"; picture "$P/q.bmp" '#FF0000' 20 20
project "$P" '[BUILDING]\r\n2=Yes\r\n[BACKGROUND]\r\n0=1\r\n3=x@0xFF,0x00,0x00\r\n[BILLBOARDSCV]\r\nTOTAL=1\r\nB0=q.bmp\r\nC0=600\r\n' q.bmp
start_setup "$P" "$S/quiet.trace"
wait_setup
check unattended-installs test "$SETUP_RC" -eq 0
check unattended-no-background is "$(trace_value "$S/quiet.trace" kBackground)" off
check unattended-no-billboards is "$(trace_value "$S/quiet.trace" kBillboards)" 0
rm -rf "$WINEPREFIX/drive_c/ShowApp"
