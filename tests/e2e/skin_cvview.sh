#!/usr/bin/env bash
# cvview.exe under Wine: page layouts rendered to PNG files at the page's
# outer size, with the page's pictures and colours; argument errors end with
# a message and a non-zero exit code; the default theme's pages are rendered
# into $CV_BUILD/artifacts/theme/ for a look.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
CVVIEW="$CV_WIN/tools/cvview/cvview.exe"

# png_info FILE [X Y]: "WIDTHxHEIGHT" of a PNG, or the "R,G,B" of one pixel.
png_info() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
at, idat = 8, b""
while at < len(data):
    size, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + size]
    at += size + 12
    if kind == b"IHDR":
        w, h, depth, ctype = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat += body
if len(sys.argv) == 2:
    print(f"{w}x{h}")
    sys.exit(0)
step = {2: 3, 6: 4}[ctype]
assert depth == 8, "8-bit samples expected"
raw = zlib.decompress(idat)
stride = w * step
rows, prev = [], bytearray(stride)
for y in range(h):
    f, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = row[i - step] if i >= step else 0
        b, c = prev[i], prev[i - step] if i >= step else 0
        if f == 1: row[i] = (row[i] + a) & 255
        elif f == 2: row[i] = (row[i] + b) & 255
        elif f == 3: row[i] = (row[i] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(row)
    prev = row
x, y = int(sys.argv[2]), int(sys.argv[3])
px = rows[y][x * step:x * step + 3]
print(f"{px[0]},{px[1]},{px[2]}")
PY
}

# bmp FILE WIDTH HEIGHT R G B: a one-colour 24-bit BMP.
bmp() {
  python3 - "$@" <<'PY'
import struct, sys
path, w, h, r, g, b = sys.argv[1], *map(int, sys.argv[2:])
stride = (w * 3 + 3) & ~3
row = bytes([b, g, r]) * w + b"\0" * (stride - w * 3)
pixels = row * h
header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
open(path, "wb").write(header + info + pixels)
PY
}

# render NAME LAYOUT PNG: runs cvview, output in $S/NAME.out and $S/NAME.err.
render() {
  wine_run 60 "$CVVIEW" "$(zpath "$2")" "$(zpath "$3")" >"$S/$1.out" 2>"$S/$1.err"
}
# The page size cvview reports ("FILE: WxH") equals the PNG's size.
size_matches() {
  local reported; reported=$(tr -d '\r' <"$1" | sed -n 's/.*: \([0-9]*x[0-9]*\)$/\1/p' | tail -n 1)
  [ -n "$reported" ] && [ "$reported" = "$(png_info "$2")" ] || { echo "reported $reported, png $(png_info "$2")"; return 1; }
}
width_is() { [ "$(png_info "$1" | cut -dx -f1)" = "$2" ]; }
# The height the page gets from its layout's height (the caption rule takes
# at most 24 pixels off).
height_between() { local h; h=$(png_info "$1" | cut -dx -f2); [ "$h" -ge "$2" ] && [ "$h" -le "$3" ]; }
pixel_is() { local got; got=$(png_info "$1" "$2" "$3"); [ "$got" = "$4" ] || { echo "pixel $2,$3: $got"; return 1; }; }

mkdir -p "$S/src/theme"
T="$S/src/theme"

# 1. A plain page in the top-left corner.
printf '[MAINWINDOW]\r\ncaption=Plain\r\nstartup=2\r\nwidth=320\r\nheight=240\r\nbkcolor=0,0,128\r\n' >"$T/plain.lcd"
render plain "$T/plain.lcd" "$S/plain.png"; rc=$?
check cvview-plain-exit-0 test $rc -eq 0
check cvview-plain-png-size-reported size_matches "$S/plain.out" "$S/plain.png"
check cvview-plain-width width_is "$S/plain.png" 320
check cvview-plain-height height_between "$S/plain.png" 216 240
check cvview-plain-background-colour pixel_is "$S/plain.png" 160 150 0,0,128

# 2. A centred page with a background picture (named relative to the folder
#    that holds theme\, as the setup names it), a filled text, a button-face
#    text and a built-in icon.
bmp "$T/back.bmp" 16 16 200 0 0
{
  printf '[MAINWINDOW]\r\ncaption=<ProductName> Setup\r\nstartup=0\r\nwidth=500\r\nheight=360\r\n'
  printf 'bkimage=theme\\back.bmp\r\nfontname=Tahoma\r\nfontsize=8\r\nfontbold=No\r\nfontitalic=No\r\n'
  printf '[INFO]\r\nTOTAL=4\r\n'
  printf '0=t,20,20,200,40,TEXT,,x,1\r\n1=t,20,80,200,40,TEXT,,x,2\r\n'
  printf '2=i,20,140,32,32,ICON,,x,3\r\n3=b,380,300,90,24,BUTTON,,x,4\r\n'
  printf '[DADOS]\r\n1,t=5\r\n1,0=Name|IDC_FILLED|0\r\n1,1=Caption||0\r\n1,2=Text Align|1|0\r\n1,3=Text Color|0,0,0|0\r\n1,4=BackColor|0,160,0|0\r\n'
  printf '2,t=5\r\n2,0=Name|IDC_CLEAR|0\r\n2,1=Caption||0\r\n2,2=Text Align|1|0\r\n2,3=Text Color|0,0,0|0\r\n2,4=BackColor|COLOR_BTNFACE|0\r\n'
  printf '3,t=3\r\n3,0=Name|IDC_ICON|0\r\n3,1=Icon File:|IDI_ERROR|0\r\n3,2=BackColor:|255,255,0|0\r\n'
  printf '4,t=2\r\n4,0=Name|IDC_NEXT|0\r\n4,1=Caption|&Next >|0\r\n'
} >"$T/welcome.lcd"
render welcome "$T/welcome.lcd" "$S/welcome.png"; rc=$?
check cvview-welcome-exit-0 test $rc -eq 0
check cvview-welcome-png-size-reported size_matches "$S/welcome.out" "$S/welcome.png"
check cvview-welcome-width width_is "$S/welcome.png" 500
# The PNG holds the whole window: client point (x, y) lies about 3 pixels
# right and a caption's height lower; the samples stay well inside the texts.
check cvview-welcome-picture pixel_is "$S/welcome.png" 300 200 200,0,0
png_info "$S/welcome.png" 120 70 >"$S/welcome.filled"
png_info "$S/welcome.png" 120 130 >"$S/welcome.clear"
check cvview-welcome-filled-text-green grep -qx '0,160,0' "$S/welcome.filled"
check cvview-welcome-button-face-text-shows-picture grep -qx '200,0,0' "$S/welcome.clear"
check cvview-welcome-no-message-box bash -c "! grep -q 'message box' '$S/welcome.err'"

# 3. A missing icon file: the message is reported and closed; the page still renders.
printf '[MAINWINDOW]\r\nstartup=2\r\nwidth=200\r\nheight=150\r\n[INFO]\r\nTOTAL=1\r\n0=i,10,10,32,32,ICON,,x,1\r\n[DADOS]\r\n1,t=2\r\n1,0=Name|IDC_I|0\r\n1,1=Icon File:|{gone.ico}|0\r\n' >"$T/icon.lcd"
render icon "$T/icon.lcd" "$S/icon.png"; rc=$?
check cvview-missing-icon-exit-0 test $rc -eq 0
check cvview-missing-icon-message contains "$S/icon.err" 'File not found: ('
check cvview-missing-icon-png-written size_matches "$S/icon.out" "$S/icon.png"

# 4. Argument errors.
wine_run 30 "$CVVIEW" >"$S/noarg.out" 2>"$S/noarg.err"; rc=$?
check cvview-no-argument-fails test $rc -ne 0
check cvview-no-argument-usage contains "$S/noarg.err" 'usage: cvview [--language LANGUAGE_FILE] LAYOUT_FILE [PNG_FILE]'
wine_run 30 "$CVVIEW" "$(zpath "$S/absent.lcd")" "$(zpath "$S/absent.png")" >"$S/absent.out" 2>"$S/absent.err"; rc=$?
check cvview-missing-layout-fails test $rc -ne 0
check cvview-missing-layout-message contains "$S/absent.err" 'layout file not found'
check cvview-missing-layout-no-png not_exists "$S/absent.png"

# 5. A page previewed in a language: the German captions change the picture;
# a language file that does not exist is refused.
SAMPLE="$CV_ROOT/examples/sample"
wine_run 60 "$CVVIEW" "$(zpath "$SAMPLE/theme/welcome.lcd")" "$(zpath "$S/welcome-en.png")" >/dev/null 2>&1
wine_run 60 "$CVVIEW" --language "$(zpath "$SAMPLE/languages/German.lan")" \
  "$(zpath "$SAMPLE/theme/welcome.lcd")" "$(zpath "$S/welcome-de.png")" >"$S/de.out" 2>&1; rc=$?
check cvview-language-exit-0 test $rc -eq 0
check cvview-language-changes-captions bash -c "[ -s '$S/welcome-de.png' ] && ! cmp -s '$S/welcome-en.png' '$S/welcome-de.png'"
wine_run 30 "$CVVIEW" --language "$(zpath "$S/absent.lan")" "$(zpath "$SAMPLE/theme/welcome.lcd")" \
  "$(zpath "$S/never.png")" >/dev/null 2>"$S/nolan.err"; rc=$?
check cvview-missing-language-refused bash -c "[ $rc -eq 1 ] && [ ! -e '$S/never.png' ] && grep -q 'language file not found' '$S/nolan.err'"

# 6. The default theme's pages, whatever exist of them.
THEME="$CV_ROOT/examples/sample/theme"
OUT="$CV_BUILD/artifacts/theme"
mkdir -p "$OUT"
for lcd in "$THEME"/*.lcd; do
  [ -e "$lcd" ] || continue
  name=$(basename "$lcd" .lcd)
  rm -f "$OUT/$name.png"
  wine_run 60 "$CVVIEW" "$(zpath "$lcd")" "$(zpath "$OUT/$name.png")" >"$S/theme-$name.out" 2>"$S/theme-$name.err"
  rc=$?
  check "cvview-theme-$name-exit-0" test $rc -eq 0
  check "cvview-theme-$name-png" size_matches "$S/theme-$name.out" "$OUT/$name.png"
done
