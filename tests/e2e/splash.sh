#!/usr/bin/env bash
# The splash screen under Wine: an animated splash picture holds the first
# page back until it closed, after the preparation or (disk image) after its
# own time; a sound-only splash holds nothing back; an unattended run shows
# and plays nothing.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# project DIR SPLASH_KEYS [SETTINGS]: a project whose SPLASH section holds
# SPLASH_KEYS (and more SETTINGS after it), with an animated setup.gif (two
# frames, 60 x 40) and a short setup.wav beside it.
project() {
  make_project "$1" "[APPINFO]\r\na1=Splash Product\r\na3={5E1A-SPLASH}\r\na4=C:\\\\Apps\\\\Splash\r\n[SPLASH]\r\n$2${3:-}"
  convert -size 60x40 -delay 30 xc:red xc:blue -loop 0 "$1/setup.gif"
  # 0.1 s of 8-bit silence at 8000 Hz.
  { printf 'RIFF\x44\x03\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00'
    printf 'data\x20\x03\x00\x00'; head -c 800 /dev/zero | tr '\0' '\200'; } >"$1/setup.wav"
}
# line_of TRACE TEXT: the number of the first trace line starting with TEXT.
line_of() { tr -d '\r' <"$1" | grep -n -m1 -F -- "$2" | cut -d: -f1; }
# before TRACE A B: the trace has a line starting with A before one starting with B.
before() {
  local a b; a=$(line_of "$1" "$2"); b=$(line_of "$1" "$3")
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ] || { echo "'$2' at ${a:-none}, '$3' at ${b:-none}"; return 1; }
}
closed_by() { test "$(trace_value "$1" kSplashClosed)" = "timer $2"; }
PAGE="$(trace_name kPage)=complete.lcd"

# 1. A picture shown 4 seconds, with a sound, over the start page of the
#    preparation: the splash closes on its display timer, after the
#    preparation; the first page follows it.
project "$S/shown" 'a1=Yes\r\na2=art\\intro.gif\r\na3=4\r\na5=Yes\r\na6=chime.wav\r\na7=Once\r\n'
cp "$CV_ROOT/examples/sample/theme/start.lcd" "$CV_ROOT/examples/sample/theme/emblem.bmp" "$S/shown/theme/"
start_setup "$S/shown" "$S/shown.trace"
THEME=$S/shown/theme
eventually 20 grep -q "^$(trace_name kPage)=start.lcd" "$S/shown.trace"
screen_shows "$S/shown.png" 512 384 '#FF0000|#0000FF'
screenshot splash-shown
on_page complete.lcd 20000 && click complete.lcd IDC_FINISH
wait_setup
# Its red or its blue frame in the middle of the screen, above the start page.
check splash-picture-on-screen bash -c "convert '$S/shown.png' -format '%[hex:p{512,384}]' info: | grep -Eqx 'FF0000|0000FF'"
check splash-picture-animated test "$(trace_value "$S/shown.trace" kSplashPicture)" = "60x40, 2 frames"
check splash-sound-played test "$(trace_value "$S/shown.trace" kSplashSound)" = "$(zpath "$S/shown")\\setup.wav"
check splash-closed-by-display-timer closed_by "$S/shown.trace" 3
check splash-closed-after-preparation before "$S/shown.trace" "preparation extraction=done" "$(trace_name kSplashClosed)"
check splash-first-page-after-splash before "$S/shown.trace" "$(trace_name kSplashClosed)" "$PAGE"
check splash-shown-exit-0 test "$SETUP_RC" -eq 0

# 2. A still bitmap without display time: the splash closes on the first
#    one-second tick after the preparation.
project "$S/poll" 'a1=Yes\r\na2=intro.bmp\r\na3=0\r\n'
convert -size 50x30 xc:green "BMP3:$S/poll/setup.bmp"
start_setup "$S/poll" "$S/poll.trace"
THEME=$S/poll/theme
on_page complete.lcd 20000 && click complete.lcd IDC_FINISH
wait_setup
check splash-still-picture test "$(trace_value "$S/poll.trace" kSplashPicture)" = "50x30, still"
check splash-no-time-closed-by-poll closed_by "$S/poll.trace" 1
check splash-no-time-first-page-after-splash before "$S/poll.trace" "$(trace_name kSplashClosed)" "$PAGE"

# 3. Disk image: nothing is prepared; the splash closes after its own time
#    and the first page follows on the frame's next tick.
project "$S/disk" 'a1=Yes\r\na2=intro.gif\r\na3=2\r\n' && mkdir -p "$S/disk/DiskImage1"
start_setup "$S/disk" "$S/disk.trace"
THEME=$S/disk/theme
on_page complete.lcd 20000 && click complete.lcd IDC_FINISH
wait_setup
check splash-disk-image-closed-by-its-time closed_by "$S/disk.trace" 4
check splash-disk-image-first-page-after-splash before "$S/disk.trace" "$(trace_name kSplashClosed)" "$PAGE"
check splash-disk-image-no-start-page bash -c "! grep -q '=start.lcd' '$S/disk.trace'"

# 4. A sound without a picture: the first page is not held back; the sound starts.
project "$S/sound" 'a1=No\r\na5=Yes\r\na6=chime.wav\r\n'
rm "$S/sound/setup.gif"
start_setup "$S/sound" "$S/sound.trace"
THEME=$S/sound/theme
on_page complete.lcd 20000; shown=$?
eventually 10 grep -q "^$(trace_name kSplashSound)" "$S/sound.trace"
click complete.lcd IDC_FINISH
wait_setup
check splash-sound-only-first-page-shows test "$shown" -eq 0
check splash-sound-only-sound-played test "$(trace_value "$S/sound.trace" kSplashSound)" = "$(zpath "$S/sound")\\setup.wav"
check splash-sound-only-no-picture bash -c "! grep -q '^$(trace_name kSplashPicture)' '$S/sound.trace'"

# 5. Unattended: no splash and no sound, installed as always.
project "$S/quiet" 'a1=Yes\r\na2=intro.gif\r\na3=5\r\na5=Yes\r\na6=chime.wav\r\n' \
  '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
cp "$CV_ROOT/examples/sample/theme/progress.lcd" "$S/quiet/theme/"
start_setup "$S/quiet" "$S/quiet.trace"
wait_setup
check splash-unattended-exit-0 test "$SETUP_RC" -eq 0
check splash-unattended-nothing-shown bash -c "! grep -q '^splash' '$S/quiet.trace'"
