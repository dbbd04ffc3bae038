#!/usr/bin/env bash
# A project written in UTF-8, as today's editors save it: packed with
# --source-encoding utf-8, its names and texts reach the setup in the ANSI
# code page (1252 under the default locale) and install under their own
# names; a folder entry of data.inf installs the same tree as its files.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

DEST=$WINEPREFIX/drive_c/CorvaneUtf8/App
P=$S/proj; mkdir -p "$P/docs" "$P/tree/sub/Größe" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'Überblick über alles' >"$P/docs/Übersicht.txt"
printf 'a' >"$P/tree/a.txt"
printf 'b' >"$P/tree/sub/b.txt"
printf 'ä' >"$P/tree/sub/Größe/Änderung.txt"
{
  printf 'docs/Übersicht.txt\r\nDestination Computer\\<InstallDir>\\*0*0*|\r\n'
  printf 'tree\\*\r\nDestination Computer\\<InstallDir>\\tree\\*0*0*|\r\n'
} >"$P/data.inf"
{
  printf '[APPINFO]\r\na1=Übersicht\r\na2=1.0\r\na3={C0FFEE00-UTF8-TEST}\r\na4=C:\\CorvaneUtf8\\App\r\n'
  printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n[BUILDING]\r\n2=Yes\r\n'
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'
} >"$P/setup.inf"

"$CVPACK" build --engine "$SETUP_EXE" --source-encoding utf-8 "$P" "$S/pkg" >/dev/null 2>"$S/pack.err"
check utf8-packed-without-warning bash -c "test -f '$S/pkg/file1.cab' && test ! -s '$S/pack.err'"
# Packed as bytes, the same project installs mangled names: cvpack says so.
"$CVPACK" build --engine "$SETUP_EXE" "$P" "$S/bytes" >/dev/null 2>"$S/bytes.err"
check utf8-as-bytes-warned grep -qF 'data.inf:1: warning: this line looks like UTF-8 ("Übersicht")' "$S/bytes.err"

# The Windows build of cvpack finds the files by their UTF-16 names and packs
# the same list and stored names, and the same setup.exe.
(cd "$S" && timeout -k 5 120 "$WINE" "$CV_WIN/tools/cvpack/cvpack.exe" build --code-page 1252 \
  --source-encoding utf-8 proj winpkg) >/dev/null 2>&1
"$CVPACK" decrypt "$S/pkg/data.nsx" "$S/native.list" && "$CVPACK" decrypt "$S/winpkg/data.nsx" "$S/win.list"
check utf8-windows-cvpack-same-list same_file "$S/native.list" "$S/win.list"
stored_names() { cabextract -l "$1" | LC_ALL=C sed -n 's/^.* | \(F[0-9]\)/\1/p'; }
stored_names "$S/pkg/file1.cab" >"$S/native.names"; stored_names "$S/winpkg/file1.cab" >"$S/win.names"
check utf8-stored-name-in-1252 grep -qax $'F0_\xdcbersicht.txt' "$S/native.names"
check utf8-windows-cvpack-same-names same_file "$S/native.names" "$S/win.names"
# Both stamp the engine alike: the product's name, converted from the code page.
check utf8-windows-cvpack-same-engine same_file "$S/pkg/setup.exe" "$S/winpkg/setup.exe"

rm -rf "$DEST"
(cd "$S/pkg" && exec timeout -k 5 120 "$WINE" setup.exe /S "/LOG=$(zpath "$S/run.log")") >/dev/null 2>&1 &
SETUP_PID=$!
wait_setup
check utf8-install-exit-0 test "$SETUP_RC" -eq 0
# Linux shows the names Wine made of them: code page 1252 read as Unicode.
check utf8-name-installed same_file "$P/docs/Übersicht.txt" "$DEST/Übersicht.txt"
check utf8-folder-entry-tree diff -r "$P/tree" "$DEST/tree"
check utf8-nothing-else bash -c "[ \"\$(find '$DEST' -type f | wc -l)\" -eq 4 ]"
rm -rf "$WINEPREFIX/drive_c/CorvaneUtf8"
