# Sourced by the end-to-end scripts: a project with one item of every kind
# (files in two folders, a permanent one, the uninstall-time program,
# shortcuts in a group and on the desktop, an INI file, registry keys and
# values, an association, a set and an appended environment variable, a
# service, the registration with its icon and the live-update files).
# FULL_CODE, FULL_DEST (the installation folder as Windows writes it) and
# FULL_SERVICE name what it installs.
FULL_CODE='{C0FFEE00-FULL-RUN}'
FULL_DEST='C:\CorvaneFull\App'
FULL_SERVICE=CorvaneFullSvc

# full_project DIR [takeover]: writes the project folder. With "takeover" it
# also installs a read-only file, takes over the association of ".cvold"
# (class CorvaneOld.File) and appends to the variable CVFULL_KEEP, which the
# caller makes before installing.
full_project() {
  local P=$1 W=$FULL_DEST CODE=$FULL_CODE SERVICE=$FULL_SERVICE more=0
  [ "${2:-}" = takeover ] && more=1
  mkdir -p "$P/payload" "$P/theme" "$P/working"
  cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
  printf 'app' >"$P/payload/app.txt"; printf 'guide' >"$P/payload/guide.txt"; printf 'kept' >"$P/payload/kept.txt"
  for f in cleanup.exe app.ico liveupdate.exe liveupdate.inf; do printf 'stand-in %s' "$f" >"$P/working/$f"; done
  {
    printf 'payload\\app.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n'
    printf 'payload\\guide.txt\r\nDestination Computer\\<InstallDir>\\docs\\*0*0*2|\r\n'
    printf 'payload\\kept.txt\r\nDestination Computer\\<InstallDir>\\*64*0*3|\r\n'
    [ $more = 1 ] && printf 'payload\\ro.txt\r\nDestination Computer\\<InstallDir>\\*1*0*4|\r\n'
  } >"$P/data.inf"
  printf 'read only' >"$P/payload/ro.txt"
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
    printf '[EXTCV]\r\nTOTAL=%s\r\nB1=<InstallDir>app.exe\r\nC1=.cvold\r\nD1=CorvaneOld.File\r\nE1=Taken over\r\nG1=%%1\r\n' $((1 + more))
    printf 'B0=<InstallDir>app.exe\r\nC0=.cvfull\r\nD0=CorvaneFull.Doc\r\nE0=Full document\r\nG0=%%1\r\nH0=app.ico\r\n'
    printf '[ENVIRCV]\r\nTOTAL=%s\r\nA2=CVFULL_KEEP\r\nC2=<InstallDir>bin\r\nE2=Append\r\nF2=Remove\r\nG2=User\r\n' $((2 + more))
    printf 'A0=CVFULL_HOME\r\nC0=<InstallDir>\r\nF0=Remove\r\nG0=User\r\n'
    printf 'A1=CVFULL_PATH\r\nC1=<InstallDir>bin\r\nE1=Append\r\nF1=Remove\r\nG1=User\r\n'
    printf '[NTSERVICE]\r\nTOTAL=1\r\nA0=%s\r\nB0=Full Service\r\nC0=SERVICE_WIN32_OWN_PROCESS\r\n' $SERVICE
    printf 'D0=SERVICE_DEMAND_START\r\nE0=SERVICE_ERROR_NORMAL\r\nF0=<InstallDir>svc.exe\r\n'
  } >"$P/setup.inf"
}

# full_project_cleanup: removes what the project installs from the prefix.
full_project_cleanup() {
  "$WINE" sc delete $FULL_SERVICE >/dev/null 2>&1
  reg_delete 'HKCU\Software\CorvaneFull'; reg_delete 'HKCR\.cvfull'; reg_delete 'HKCR\CorvaneFull.Doc'
  reg_delete 'HKCU\Environment' /v CVFULL_HOME; reg_delete 'HKCU\Environment' /v CVFULL_PATH
  reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$FULL_CODE"
  rm -rf "$WINEPREFIX/drive_c/CorvaneFull" "$WINEPREFIX/drive_c/windows/Installer/$FULL_CODE" \
    "$HOME"/"Full Site".{url,lnk} "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/"Full Product" \
    "$WINEPREFIX"/drive_c/users/Public/Desktop/"Full Site".{url,lnk} \
    "$WINEPREFIX"/drive_c/ProgramData/Microsoft/Windows/"Start Menu"/Programs/"Full Product"
}
