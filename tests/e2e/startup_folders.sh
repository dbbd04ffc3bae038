#!/usr/bin/env bash
# The folders the start-up settles under Wine: a working folder of the run's
# own while folders of its time name exist (another setup started in the same
# second), and an installation folder whose name holds square brackets.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# One unattended run of a project installing into "<ProgramFilesFolder>\Tool [x64]".
P=$S/project; mkdir -p "$P/payload" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'tool' >"$P/payload/tool.txt"
printf 'payload\\tool.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$P/data.inf"
{
  printf '[APPINFO]\r\na1=Bracket Tool\r\na2=1.0\r\na3={B4AC7E75-FOLD-TEST}\r\n'
  printf 'a4=<ProgramFilesFolder>\\Tool [x64]\r\n'
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
  printf "$ALL_SYSTEMS"
} >"$P/setup.inf"
pack_project "$P" "$S/package"
DEST="$WINEPREFIX/drive_c/Program Files/Tool [x64]"
rm -rf "$DEST"

# Working folders of this second's name and of the next seconds' (the run
# starts within them), each holding a marker another setup would own.
TEMP_WIN=$("$WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
TEMP_DIR=$(upath "$TEMP_WIN")
now=$(date +%s) taken=()
for i in $(seq 0 20); do
  name=cv$(date -d "@$((now + i))" +%H%M%S); taken+=("$name")
  mkdir -p "$TEMP_DIR/$name" && printf 'other setup' >"$TEMP_DIR/$name/marker"
done
markers_kept() {
  for n in "${taken[@]}"; do same_file <(printf 'other setup') "$TEMP_DIR/$n/marker" || return 1; done
}
# The run's working folder is one of those names followed by "_1".
own_name() {
  local work n; work=$(trace_value "$S/run.trace" kWorkingFolder)
  for n in "${taken[@]}"; do [ "$work" = "$TEMP_WIN\\${n}_1\\" ] && return 0; done
  echo "working folder: $work"; return 1
}

start_packed "$S/package" "$S/run.trace" 90
wait_setup
check folders-run-exit-0 test "$SETUP_RC" -eq 0
check folders-working-folder-of-its-own own_name
check folders-other-working-folders-untouched markers_kept
check folders-install-folder-keeps-brackets \
  test "$(trace_value "$S/run.trace" kInstallFolder)" = 'C:\Program Files\Tool [x64]\'
check folders-installed-under-bracket-name same_file "$P/payload/tool.txt" "$DEST/tool.txt"

rm -rf "$DEST"
for n in "${taken[@]}"; do rm -rf "${TEMP_DIR:?}/$n"; done
