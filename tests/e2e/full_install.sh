#!/usr/bin/env bash
# A project with one item of every kind, installed unattended under Wine: its
# whole uninstall log compared line by line with the expected one (every line
# kind, in the order the install actions run); then the same project in
# preview mode, which logs the file list, the uninstall-time program and the
# services, creates the folders and the services, and writes nothing else.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

source "$CV_ROOT/tests/lib_full_project.sh"
CODE=$FULL_CODE W=$FULL_DEST SERVICE=$FULL_SERVICE
LOG=$WINEPREFIX/drive_c/windows/Installer/$CODE/uninstall.log
DEST=$WINEPREFIX/drive_c/CorvaneFull/App
UNINSTALL_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
cleanup() { full_project_cleanup; }
cleanup

P=$S/full; full_project "$P"
pack_project "$P" "$S/fullpkg"
start_packed "$S/fullpkg" "$S/full.trace" 90
wait_setup
check full-run-exit-0 test "$SETUP_RC" -eq 0
# Every record an action wrote is of a kind its row declares (so its undo steps consume it).
check full-run-records-declared bash -c "! grep -a '^$(trace_name kUndeclaredRecord)=' '$S/full.trace'"

# The project installs for everyone (it leaves a8 out and the run is an
# administrator's): everyone's Programs menu and desktop.
PROGRAMS='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
DESKTOP='C:\users\Public\Desktop'
expected_log() {
  printf 'LOGFORMAT=2\nTOTALFILE=3\nINSTALLDIR=%s\\\nDIR=%s\\\nDIR=C:\\CorvaneFull\nDIR=%s\\docs\n' "$W" "$W" "$W"
  printf 'RUN3RD=cleanup.exe\nRUN3RDCMD=/quiet %s\\\nREMOVEALL=Yes\n' "$W"
  printf 'FILE=%s\\app.txt\nFILE=%s\\docs\\guide.txt\n' "$W" "$W"
  printf 'DIR=%s\\Full Product\\\nFILE=%s\\app.ico\nSHORTCUT=%s\\Full Product\\App.lnk\n' "$PROGRAMS" "$W" "$PROGRAMS"
  printf 'SHORTCUT=%s\\Full Site.url\nSHORTCUT=%s\\Full Site.lnk\n' "$DESKTOP" "$DESKTOP"
  printf 'INIFILE=%s\\full.ini\nINIVAL=%s\\full.ini|Main|Mode|0\n' "$W" "$W"
  printf 'REGKEY=HKEY_CURRENT_USER\\Software\\CorvaneFull\n'
  printf 'REGVAL=HKEY_CURRENT_USER\\Software\\CorvaneFull\\Path\nREGVAL=HKEY_CURRENT_USER\\Software\\CorvaneFull\\Level\n'
  printf 'REMKEY=HKEY_CLASSES_ROOT\\CorvaneFull.Doc\nREMKEY=HKEY_CLASSES_ROOT\\.cvfull\nFILE=%s\\app.ico\n' "$W"
  printf 'REGVAL=HKEY_CURRENT_USER\\Environment\\CVFULL_HOME\n'
  printf 'ENVAPPEND=HKEY_CURRENT_USER\\Environment\\CVFULL_PATH|%s\\bin\n' "$W"
  printf 'NTSERVICE=%s\n' $SERVICE
  printf 'FILE=%s\\liveupdate.exe\nFILE=%s\\liveupdate.inf\nFILE=%s\\app.ico\n' "$W" "$W" "$W"
}
check full-run-log-line-by-line same_file <(expected_log) <(tr -d '\r' <"$LOG")
check full-run-log-crlf-only test "$(grep -c $'\r$' "$LOG")" -eq "$(wc -l <"$LOG")"
check full-run-registered eval '"$WINE" reg query "$UNINSTALL_KEY" /v DisplayName >/dev/null 2>&1'
cp "$LOG" "$S/full.log"

# ---- Preview: the folders, the uninstall-time program and the services only ----------
cleanup
sed -i 's/^\[APPINFO\]\r$/[APPINFO]\r\nPREVIEW=255\r/' "$P/setup.inf"
pack_project "$P" "$S/previewpkg"
start_packed "$S/previewpkg" "$S/preview.trace" 90
wait_setup
check preview-exit-0 test "$SETUP_RC" -eq 0
expected_preview_log() {
  printf 'LOGFORMAT=2\nTOTALFILE=3\nINSTALLDIR=%s\\\nDIR=%s\\\nDIR=C:\\CorvaneFull\nDIR=%s\\docs\n' "$W" "$W" "$W"
  printf 'RUN3RD=cleanup.exe\nRUN3RDCMD=/quiet %s\\\nREMOVEALL=Yes\nNTSERVICE=%s\n' "$W" $SERVICE
}
check preview-log-line-by-line same_file <(expected_preview_log) <(tr -d '\r' <"$LOG")
check preview-folders-created test -d "$DEST/docs"
check preview-no-files test -z "$(find "$DEST" -type f)"
check preview-service-created eval '"$WINE" "$CV_WIN/tests/svcquery.exe" $SERVICE >/dev/null 2>&1'
no_key() { ! "$WINE" reg query "$1" >/dev/null 2>&1; }
check preview-no-registry-key no_key 'HKCU\Software\CorvaneFull'
check preview-no-registration no_key "$UNINSTALL_KEY"
check preview-no-shortcut not_exists "$WINEPREFIX/drive_c/users/Public/Desktop/Full Site.lnk"
cleanup
