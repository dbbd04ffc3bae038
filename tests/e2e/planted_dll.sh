#!/usr/bin/env bash
# Libraries planted beside setup.exe and in its current folder, under every
# name the program loads (its imports, delay-loaded ones included, and the
# libraries it loads itself), are never loaded: each planted copy records any
# load into a file. Wine takes its own built-in libraries first unless told
# otherwise, so the run makes every planted name native-first, as Windows
# treats a library that is not one of its known DLLs. A program that does not
# restrict its search (cvcabtest.exe) shows that the planted copies are found.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
OBJDUMP=x86_64-w64-mingw32-objdump

# The names: every library name setup.exe holds (its imports in the import
# table; the delay-loaded ones and those it loads itself, RICHED32.DLL, as
# texts), the library RICHED32.DLL loads (RICHED20.DLL) and the theme library
# the common controls load. The system's core (kernel32, ntdll, the C run time)
# is left out: the program's first instruction needs it, Windows maps it from
# the system folder as a known DLL, and Wine cannot start without its own.
names=$({
  "$OBJDUMP" -p "$SETUP_EXE" | sed -n 's/^\s*DLL Name: *//p'
  strings -a "$SETUP_EXE" | grep -iE '^[a-z0-9_]+\.dll$'
  echo riched20.dll; echo uxtheme.dll
} | tr 'A-Z' 'a-z' | tr -d '\r' | grep -v -x -e kernel32.dll -e ntdll.dll -e msvcrt.dll | sort -u)
list_names() { echo "$names" | tr '\n' ' '; }
has_delay_imports() {
  for n in cabinet.dll version.dll comctl32.dll wininet.dll riched32.dll user32.dll; do
    echo "$names" | grep -qx "$n" || { echo "missing $n in: $(list_names)"; return 1; }
  done
}
check planted-names-include-delay-imports has_delay_imports

# A project installing one file unattended: start, decryption, extraction
# (cabinet), copying (file versions) and the pages made hidden.
P=$S/project; mkdir -p "$P/payload" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'tool' >"$P/payload/tool.txt"
printf 'payload\\tool.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$P/data.inf"
{
  printf '[APPINFO]\r\na1=Planted Tool\r\na2=1.0\r\na3={B4AC7E75-PLANTED-DLL}\r\n'
  printf 'a4=<ProgramFilesFolder>\\Planted Tool\r\n'
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
  printf "$ALL_SYSTEMS"
} >"$P/setup.inf"
pack_project "$P" "$S/package"
CURRENT=$S/current; mkdir -p "$CURRENT"
for n in $names; do
  cp "$CV_WIN/tests/planted.dll" "$S/package/$n"
  cp "$CV_WIN/tests/planted.dll" "$CURRENT/$n"
done
LOG=$S/planted.log; : >"$LOG"
overrides="$WINEDLLOVERRIDES;$(echo "$names" | sed 's/\.dll$//' | paste -sd, -)=n,b"
DEST="$WINEPREFIX/drive_c/Program Files/Planted Tool"
rm -rf "$DEST"

(cd "$CURRENT" && CV_PLANTED_LOG="$(zpath "$LOG")" WINEDLLOVERRIDES="$overrides" \
  CVSETUP_TRACE="$(zpath "$S/run.trace")" exec timeout -k 5 90 "$WINE" "$(zpath "$S/package/setup.exe")") \
  >/dev/null 2>&1
rc=$?
nothing_loaded() { [ ! -s "$LOG" ] || { echo "planted names: $(list_names)"; cat "$LOG"; return 1; }; }
check planted-setup-installed test "$rc" -eq 0 -a -f "$DEST/tool.txt"
check planted-dll-never-loaded nothing_loaded
restricted() { ! grep -E 'SetDllDirectoryA|SetDefaultDllDirectories|SetSearchPathMode' "$S/run.trace"; }
check planted-search-restricted-without-failure restricted

# The control: a program without the restriction, started the same way,
# loads the planted cabinet library from its own folder.
cp "$CV_WIN/tests/cvcabtest.exe" "$S/package/"
(cd "$CURRENT" && CV_PLANTED_LOG="$(zpath "$LOG")" WINEDLLOVERRIDES="$overrides" \
  exec timeout -k 5 30 "$WINE" "$(zpath "$S/package/cvcabtest.exe")" "$(zpath "$S/package/file1.cab")" \
  "$(zpath "$S/out")") >/dev/null 2>&1
check planted-control-program-loads-it contains "$LOG" 'cabinet.dll'
rm -rf "$DEST"
