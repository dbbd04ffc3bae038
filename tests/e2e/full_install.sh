#!/usr/bin/env bash
# A project with one item of every kind, installed unattended under Wine: its
# whole uninstall log compared line by line with the expected one (every line
# kind, in the order the install actions run); then the same project in
# preview mode, which logs the file list, the uninstall-time program and the
# services, creates the folders and the services, and writes nothing else.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-FULL-RUN}'
LOG=$WINEPREFIX/drive_c/windows/Installer/$CODE/uninstall.log
DEST=$WINEPREFIX/drive_c/CorvaneFull/App
W='C:\CorvaneFull\App'
UNINSTALL_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
SERVICE=CorvaneFullSvc
cleanup() {
  "$WINE" sc delete $SERVICE >/dev/null 2>&1
  reg_delete 'HKCU\Software\CorvaneFull'; reg_delete 'HKCR\.cvfull'; reg_delete 'HKCR\CorvaneFull.Doc'
  reg_delete 'HKCU\Environment' /v CVFULL_HOME; reg_delete 'HKCU\Environment' /v CVFULL_PATH
  reg_delete "$UNINSTALL_KEY"
  rm -rf "$DEST" "$HOME"/"Full Site".{url,lnk} "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/"Full Product"
}
cleanup

P=$S/full; mkdir -p "$P/payload" "$P/theme" "$P/working"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'app' >"$P/payload/app.txt"; printf 'guide' >"$P/payload/guide.txt"; printf 'kept' >"$P/payload/kept.txt"
for f in cleanup.exe app.ico liveupdate.exe liveupdate.inf; do printf 'stand-in %s' "$f" >"$P/working/$f"; done
{
  printf 'payload\\app.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n'
  printf 'payload\\guide.txt\r\nDestination Computer\\<InstallDir>\\docs\\*0*0*2|\r\n'
  printf 'payload\\kept.txt\r\nDestination Computer\\<InstallDir>\\*64*0*3|\r\n'
} >"$P/data.inf"
{
  printf '[APPINFO]\r\na1=Full Product\r\na2=2.0\r\na3=%s\r\na4=%s\r\n' "$CODE" "$W"
  printf 'a10=Yes\r\na11=cleanup.exe\r\na12=/quiet <InstallDir>\r\na13=No\r\na18=app.ico\r\n'
  printf '[LIVEUPDATE]\r\n1=Yes\r\n2=auto\r\n3=http://127.0.0.1/update\r\n4=Yes\r\n'
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b' "$ALL_SYSTEMS"
  printf '[FOLDERCV]\r\nTOTAL=2\r\nA0=Start Menu\\Programs Menu\\Full Product\\App\r\nB0=App\r\nC0=<InstallDir>app.txt\r\nH0=app.ico\r\n'
  printf 'A1=Desktop\\Full Site\r\nB1=Full Site\r\nC1=http://127.0.0.1/full\r\n'
  printf '[INIINFO]\r\nTOTAL=1\r\nA0=INI Files\\full.ini\r\nC0=<InstallDir>\r\n'
  printf '[INIDATA]\r\nTOTAL=1\r\nA0=INI Files\\full.ini\\Main\\Mode\r\nC0=full\r\n'
  printf '[REGISTRYKEYS]\r\nTOTAL=1\r\n0=HKEY_CURRENT_USER\\Software\\CorvaneFull\\\r\n'
  printf '[REGISTRY]\r\nTOTAL=2\r\nA0=HKEY_CURRENT_USER\\Software\\CorvaneFull\\\r\nB0=Path\r\nC0=<InstallDir>\r\nD0=0\r\n'
  printf 'A1=HKEY_CURRENT_USER\\Software\\CorvaneFull\\\r\nB1=Level\r\nC1=3\r\nD1=1\r\n'
  printf '[EXTCV]\r\nTOTAL=1\r\nB0=<InstallDir>app.exe\r\nC0=.cvfull\r\nD0=CorvaneFull.Doc\r\nE0=Full document\r\nG0=%%1\r\nH0=app.ico\r\n'
  printf '[ENVIRCV]\r\nTOTAL=2\r\nA0=CVFULL_HOME\r\nC0=<InstallDir>\r\nF0=Remove\r\nG0=User\r\n'
  printf 'A1=CVFULL_PATH\r\nC1=<InstallDir>bin\r\nE1=Append\r\nF1=Remove\r\nG1=User\r\n'
  printf '[NTSERVICE]\r\nTOTAL=1\r\nA0=%s\r\nB0=Full Service\r\nC0=SERVICE_WIN32_OWN_PROCESS\r\n' $SERVICE
  printf 'D0=SERVICE_DEMAND_START\r\nE0=SERVICE_ERROR_NORMAL\r\nF0=<InstallDir>svc.exe\r\n'
} >"$P/setup.inf"
pack_project "$P" "$S/fullpkg"
start_packed "$S/fullpkg" "$S/full.trace" 90
wait_setup
check full-run-exit-0 test "$SETUP_RC" -eq 0

PROGRAMS='C:\users\root\AppData\Roaming\Microsoft\Windows\Start Menu\Programs'
DESKTOP='C:\users\root\Desktop'
expected_log() {
  printf 'TOTALFILE=3\nDIR=%s\\\nDIR=%s\\\nDIR=%s\\docs\n' "$W" "$W" "$W"
  printf 'RUN3RD=cleanup.exe\nRUN3RDCMD=/quiet %s\\\nREMOVEALL=Yes\n' "$W"
  printf 'FILE=%s\\app.txt\nFILE=%s\\docs\\guide.txt\n' "$W" "$W"
  printf 'DIR=%s\\Full Product\\\nFILE=%s\\app.ico\nSHORTCUT=%s\\Full Product\\App.lnk\n' "$PROGRAMS" "$W" "$PROGRAMS"
  printf 'SHORTCUT=%s\\Full Site.url\nSHORTCUT=%s\\Full Site.lnk\n' "$DESKTOP" "$DESKTOP"
  printf 'FILE=%s\\full.ini\n' "$W"
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
  printf 'TOTALFILE=3\nDIR=%s\\\nDIR=%s\\\nDIR=%s\\docs\n' "$W" "$W" "$W"
  printf 'RUN3RD=cleanup.exe\nRUN3RDCMD=/quiet %s\\\nREMOVEALL=Yes\nNTSERVICE=%s\n' "$W" $SERVICE
}
check preview-log-line-by-line same_file <(expected_preview_log) <(tr -d '\r' <"$LOG")
check preview-folders-created test -d "$DEST/docs"
check preview-no-files test -z "$(find "$DEST" -type f)"
check preview-service-created eval '"$WINE" "$CV_WIN/tests/svcquery.exe" $SERVICE >/dev/null 2>&1'
no_key() { ! "$WINE" reg query "$1" >/dev/null 2>&1; }
check preview-no-registry-key no_key 'HKCU\Software\CorvaneFull'
check preview-no-registration no_key "$UNINSTALL_KEY"
check preview-no-shortcut not_exists "$HOME/Full Site.lnk"
cleanup
