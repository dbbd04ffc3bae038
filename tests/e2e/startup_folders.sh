#!/usr/bin/env bash
# The folders the start-up settles under Wine: an installation folder whose
# name holds square brackets is installed into as written.
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

start_packed "$S/package" "$S/run.trace" 90
wait_setup
check folders-run-exit-0 test "$SETUP_RC" -eq 0
check folders-install-folder-keeps-brackets \
  test "$(trace_value "$S/run.trace" kInstallFolder)" = 'C:\Program Files\Tool [x64]\'
check folders-installed-under-bracket-name same_file "$P/payload/tool.txt" "$DEST/tool.txt"

rm -rf "$DEST"
