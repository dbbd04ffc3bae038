#!/usr/bin/env bash
# Libraries planted beside setup.exe and in its current folder, under every
# name the program loads (its imports, delay-loaded ones included, and the
# libraries it loads itself), are never loaded: each planted copy records any
# load into a file. Wine takes its own built-in libraries first unless told
# otherwise, so the run makes every planted name native-first, as Windows
# treats a library that is not one of its known DLLs. A single file started
# from a download folder full of them loads none either. A program that does not
# restrict its search (cvcabtest.exe) shows that the planted copies are found.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
OBJDUMP=x86_64-w64-mingw32-objdump

# The names: every library name setup.exe holds (its imports in the import
# table; the delay-loaded ones and those it loads itself, RICHED32.DLL, as
# texts), the library RICHED32.DLL loads (RICHED20.DLL) and the theme library
# the common controls load. Left out are the system's known DLLs, which
# Windows maps from the system folder whatever lies beside a program (Wine has
# no such list, so a planted copy of one would be loaded here alone): the only
# libraries setup.exe may import in its import table.
KNOWN="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ntdll.dll ole32.dll oleaut32.dll shell32.dll user32.dll ws2_32.dll"
imports=$("$OBJDUMP" -p "$SETUP_EXE" | sed -n 's/^\s*DLL Name: *//p' | tr 'A-Z' 'a-z' | sort -u)
names=$({
  echo "$imports"
  strings -a "$SETUP_EXE" | grep -iE '^[a-z0-9_]+\.dll$'
  echo riched20.dll; echo uxtheme.dll
} | tr 'A-Z' 'a-z' | tr -d '\r' | sort -u | grep -v -x -F "$(echo $KNOWN | tr ' ' '\n')")
only_known_imports() {
  for n in $imports; do [[ " $KNOWN " == *" $n "* ]] || { echo "imports $n"; return 1; }; done
}
check planted-import-table-holds-known-dlls-only only_known_imports
list_names() { echo "$names" | tr '\n' ' '; }
has_delay_imports() {
  for n in cabinet.dll version.dll comctl32.dll wininet.dll winmm.dll riched32.dll; do
    echo "$names" | grep -qx "$n" || { echo "missing $n in: $(list_names)"; return 1; }
  done
}
check planted-names-include-delay-imports has_delay_imports
has_planted() { for n in "$@"; do echo "$names" | grep -qx "$n" || { echo "not planted: $n"; return 1; }; done; }

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
# The setup reads its project from its current folder: the packed folder is
# the current one, and setup.exe runs from a folder of its own, both planted.
CURRENT=$S/package ENGINE=$S/engine; mkdir -p "$ENGINE"
mv "$S/package/setup.exe" "$ENGINE/"
LOG=$S/planted.log
plant() {
  for n in $names; do
    cp "$CV_WIN/tests/planted.dll" "$ENGINE/$n"
    cp "$CV_WIN/tests/planted.dll" "$CURRENT/$n"
  done
  : >"$LOG"
  overrides="$WINEDLLOVERRIDES;$(echo "$names" | sed 's/\.dll$//' | paste -sd, -)=n,b"
}
# run_planted PROGRAM ARGS...: runs PROGRAM (Windows path) from the current
# folder CURRENT with the planted names native-first; time limit LIMIT
# seconds (90 unless given).
run_planted() {
  (cd "$CURRENT" && CV_PLANTED_LOG="$(zpath "$LOG")" WINEDLLOVERRIDES="$overrides" \
    exec timeout -k 5 "${LIMIT:-90}" "$WINE" "$@") >/dev/null 2>&1
}
logged_names() { tr -d '\r' <"$LOG" | sed 's/.*\\//' | tr 'A-Z' 'a-z' | sort -u; }

# Wine's own system libraries import some of these names (its user32 imports
# version.dll): made native-first they are loaded from beside any program
# before its first instruction, which Windows' own libraries do not do. A
# program with the same import table that does nothing (cvdrive.exe without
# arguments) shows which; those are not planted for the setup's run.
plant
cp "$CV_WIN/tests/cvdrive.exe" "$ENGINE/"
run_planted "$(zpath "$ENGINE/cvdrive.exe")"
wine_own=$(logged_names)
echo "loaded by Wine's own libraries: $wine_own" >>"$CV_LOG"
for n in $wine_own; do rm -f "$ENGINE/$n" "$CURRENT/$n"; done
names=$(echo "$names" | grep -v -x -F "${wine_own:-none}")
# What stays planted still covers the libraries the program itself loads.
check planted-names-left-cover-the-programs-own has_planted cabinet.dll comctl32.dll wininet.dll riched32.dll
plant
DEST="$WINEPREFIX/drive_c/Program Files/Planted Tool"
rm -rf "$DEST"

run_planted "$(zpath "$ENGINE/setup.exe")" "/LOG=$(zpath "$S/run.trace")"
rc=$?
nothing_loaded() { [ ! -s "$LOG" ] || { echo "planted names: $(list_names)"; cat "$LOG"; return 1; }; }
check planted-setup-installed test "$rc" -eq 0 -a -f "$DEST/tool.txt"
check planted-dll-never-loaded nothing_loaded
restricted() { [ -s "$S/run.trace" ] && ! grep -E 'SetDllDirectoryA|SetDefaultDllDirectories|SetSearchPathMode' "$S/run.trace"; }
check planted-search-restricted-without-failure restricted

# The same project as one file, started from a download folder where the
# planted libraries lie beside it: its unpacking loads none of them either,
# nor does the setup it runs from the unpacked folder.
DOWNLOAD=$S/download; mkdir -p "$DOWNLOAD"
"$CVPACK" build --engine "$SETUP_EXE" --single-file "$DOWNLOAD/Planted Setup.exe" "$P" "$S/single-pkg" >/dev/null
rm -rf "$DEST"
SAVED_CURRENT=$CURRENT; CURRENT=$DOWNLOAD
plant
run_planted "$(zpath "$DOWNLOAD/Planted Setup.exe")" "/LOG=$(zpath "$S/single.trace")"
rc=$?
check planted-single-file-installed test "$rc" -eq 0 -a -f "$DEST/tool.txt"
check planted-single-file-unpacked grep -q "^$(trace_name kPackageUnpacked)=" "$S/single.trace"
check planted-single-file-never-loaded-it nothing_loaded
for n in $names; do rm -f "$DOWNLOAD/$n"; done
CURRENT=$SAVED_CURRENT

# cvpack.exe, run by authors from folders of their own, packs a project with
# the same names planted and imports nothing but the known DLLs either.
CVPACK_EXE=$CV_WIN/tools/cvpack/cvpack.exe
imports=$("$OBJDUMP" -p "$CVPACK_EXE" | sed -n 's/^\s*DLL Name: *//p' | tr 'A-Z' 'a-z' | sort -u)
check planted-cvpack-imports-known-dlls-only only_known_imports
cp "$CVPACK_EXE" "$CV_WIN/src/cvexec.exe" "$ENGINE/"
cp "$ENGINE/setup.exe" "$S/engine-copy.exe"
plant
run_planted "$(zpath "$ENGINE/cvpack.exe")" build --engine "$(zpath "$S/engine-copy.exe")" \
  --uninstaller "$(zpath "$ENGINE/cvexec.exe")" "$(zpath "$P")" "$(zpath "$S/packed-again")"
rc=$?
check planted-cvpack-packed test "$rc" -eq 0 -a -f "$S/packed-again/file1.cab"
check planted-cvpack-never-loaded-it nothing_loaded

# The control: a program without the restriction, started the same way,
# loads the planted cabinet library from its own folder (and, as the planted
# copy refuses to load, dies: Wine's debugger is kept out of it).
cp "$CV_WIN/tests/cvcabtest.exe" "$ENGINE/"
mkdir -p "$S/out"
overrides="$overrides;winedbg.exe=d" LIMIT=20 run_planted "$(zpath "$ENGINE/cvcabtest.exe")" "$(zpath "$S/package/file1.cab")" "$(zpath "$S/out")"
check planted-control-program-loads-it grep -qi 'engine.cabinet\.dll' "$LOG"
rm -rf "$DEST"
