#!/usr/bin/env bash
# The file action under Wine, from a disk image: a file whose placeholders
# are expanded is expanded in the working folder, never beside its source on
# the distribution medium (which may be read-only, or shared by several
# installs at once).
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

DEST=$WINEPREFIX/drive_c/CorvaneFiles/App
P=$S/image; mkdir -p "$P/DiskImage1" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'Installed to <InstallDir>' >"$P/DiskImage1/F0_readme.txt"
printf 'readme.txt\r\nDestination Computer\\<InstallDir>\\*256*0*1|\r\n' >"$P/data.plain"
printf '[APPINFO]\r\na1=Files Product\r\na2=1.0\r\na3={C0FFEE00-FILE-TEST}\r\na4=C:\\CorvaneFiles\\App\r\n' >"$P/setup.plain"
printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n[BUILDING]\r\n2=Yes\r\n' >>"$P/setup.plain"
printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n' >>"$P/setup.plain"
"$CVPACK" encrypt "$P/setup.plain" "$P/setup.nsx" && "$CVPACK" encrypt "$P/data.plain" "$P/data.nsx"
rm -rf "$DEST"
start_setup "$P" "$S/image.trace"
wait_setup
check files-disk-image-exit-0 test "$SETUP_RC" -eq 0
check files-disk-image-expanded same_file <(printf 'Installed to C:\\CorvaneFiles\\App\\') "$DEST/readme.txt"
check files-disk-image-medium-untouched test "$(ls "$P/DiskImage1")" = F0_readme.txt
rm -rf "$WINEPREFIX/drive_c/CorvaneFiles"
