#!/usr/bin/env bash
# Rollback under Wine: for each way a run can end without completing (Cancel
# during the copy, a copy error answered Cancel, a service failure answered
# Cancel, an unattended run abandoned at a failed copy, a library file action
# returning 1 after Finish, a setup killed in the file phase and started
# again) the machine is
# compared before and after the run: the file tree of drive C: (names,
# sizes, modes and times of files), the contents and attributes of the files
# the run replaced, and registry exports. Only the uninstaller every product
# shares (the Windows folder's cvexec.exe) may stay. A completed run leaves no
# backup folder behind.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-ROLL-BACK}'
DEST=$WINEPREFIX/drive_c/CorvaneRollback/App
W='C:\CorvaneRollback\App'
UNINSTALL=$WINEPREFIX/drive_c/windows/Installer/$CODE
TAKEN=cvtest_rollback_taken
record() {  # SOURCE DESTDIR FLAGS: one data.inf record
  printf '%s\r\nDestination Computer\\<InstallDir>\\%s*%s*0*1|\r\n' "$1" "$2" "$3"
}
attributes() { "$WINE" cmd /c attrib "$(win_path "$1")" 2>/dev/null | tr -d '\r' | cut -c1-10; }
# project NAME BUILDING NTSERVICE_BODY [PAGES]: a packed project in $S/NAME-pkg
project() {
  local p=$S/$1; mkdir -p "$p/payload/lib" "$p/theme"
  cp "$CV_ROOT"/examples/sample/theme/* "$p/theme/"
  for f in new replace over blocked last; do printf 'installed %s' "$f" >"$p/payload/$f.txt"; done
  cp "$CV_WIN/tests/versioned_2_0.dll" "$p/payload/lib/newer.dll"
  { record payload/new.txt 'sub\' 0; record payload/replace.txt '' 1; record payload/over.txt '' 0
    record payload/lib/newer.dll 'lib\' 0; record payload/blocked.txt '' 0; record payload/last.txt '' 0
  } >"$p/data.inf"
  { printf '[APPINFO]\r\na1=Rollback Product\r\na2=1.0\r\na3=%s\r\na4=%s\r\n' "$CODE" "$W"
    printf '[DIALOGLIST]\r\n%b' "${4:-TOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n}"
    printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n%b' "$2"
    printf '[REGISTRYKEYS]\r\nTOTAL=1\r\n0=HKEY_CURRENT_USER\\Software\\CorvaneRollback\\<ProductName>\\\r\n'
    printf '[REGISTRY]\r\nTOTAL=2\r\n'
    printf 'A1=HKEY_CURRENT_USER\\Software\\CorvaneRollbackOld\\\r\nB1=Setting\r\nC1=new\r\nD1=String\r\n'
    printf 'A0=HKEY_CURRENT_USER\\Software\\CorvaneRollback\\Rollback Product\\\r\nB0=Name\r\nC0=<ProductName>\r\nD0=String\r\n'
    printf '[INIINFO]\r\nTOTAL=1\r\nA0=INI Files\\app.ini\r\nC0=<InstallDir>\r\n'
    printf '[INIDATA]\r\nTOTAL=1\r\nA0=INI Files\\app.ini\\Main\\Color\r\nC0=Blue\r\n'
    printf '[ENVIRCV]\r\nTOTAL=1\r\nA0=CVTEST_ROLLBACK\r\nC0=set by the run\r\nF0=Remove\r\nG0=User\r\n'
    printf '[NTSERVICE]\r\n%b' "$3"
    printf '%b' "${5:-}"
  } >"$p/setup.inf"
  pack_project "$p" "$S/$1-pkg"
}
SERVICE="TOTAL=1\r\nA0=$TAKEN\r\nB0=$TAKEN Service\r\nC0=SERVICE_WIN32_OWN_PROCESS\r\nD0=SERVICE_DEMAND_START\r\nE0=SERVICE_ERROR_NORMAL\r\nF0=C:\\\\svc.exe\r\n"
UNATTENDED='[BUILDING]\r\n2=Yes\r\n'
project interactive '' 'TOTAL=0\r\n'
project service '' "$SERVICE"
project quiet "$UNATTENDED" 'TOTAL=0\r\n'
# A library whose function returns 1 after Finish (on Z:, outside the snapshot).
cp "$CV_WIN/tests/fileaction.dll" "$S/fileaction.dll"
DLL_W="$(zpath "$S")\\fileaction.dll"
ABANDON_AT_FINISH="[FILEACTION]\r\nTOTAL=1\r\nB0=${DLL_W//\\/\\\\}\r\nC0=Abandon\r\nE0=After Click Finish Button\r\n"
project finish "$UNATTENDED" 'TOTAL=0\r\n' '' "$ABANDON_AT_FINISH"
project welcome '' 'TOTAL=0\r\n' 'TOTAL1=3\r\nW0=welcome.lcd\r\nW1=progress.lcd\r\nW2=complete.lcd\r\n'

# What the machine holds before every run: an older library, a read-only
# file and a plain file the run replaces, each with a time of its own, a
# folder where "blocked.txt" goes (so its copy fails while it is there), and
# a service of the name the service project asks for (so creating it fails),
# a registry value the run overwrites with one of another type, an INI file
# it writes an entry into and an environment variable it sets anew.
prepare() {  # [BLOCKED]: with the folder in blocked.txt's way
  rm -rf "$WINEPREFIX/drive_c/CorvaneRollback" "$UNINSTALL"
  mkdir -p "$DEST/lib" "$WINEPREFIX/drive_c/windows/Installer"  # as on every Windows
  cp "$CV_WIN/tests/versioned_1_9.dll" "$DEST/lib/newer.dll"
  printf 'old read-only' >"$DEST/replace.txt"; printf 'old plain' >"$DEST/over.txt"
  printf '[Main]\r\nColor=Red\r\n' >"$DEST/app.ini"
  touch -d '2001-02-03 04:05:06' "$DEST/lib/newer.dll" "$DEST/replace.txt" "$DEST/over.txt" "$DEST/app.ini"
  "$WINE" cmd /c attrib +r +h "$(win_path "$DEST/replace.txt")" >/dev/null 2>&1
  [ -n "${1:-}" ] && mkdir -p "$DEST/blocked.txt"
  reg_delete 'HKCU\Software\CorvaneRollback'
  reg_add 'HKCU\Software\CorvaneRollbackOld' /v Setting /t REG_DWORD /d 5  # overwritten by the run
  reg_add 'HKCU\Environment' /v CVTEST_ROLLBACK /t REG_EXPAND_SZ /d '%TEMP%\old'  # set anew by the run
  reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
  timeout 20 "$WINE" sc create $TAKEN binPath= 'C:\occupied.exe' >/dev/null 2>&1
}
# Registry export sections, without those Wine keeps for itself under HKCU\Software\Wine.
without_wine_keys() { awk '/^\[/ { skip = index($0, "[HKEY_CURRENT_USER\\Software\\Wine") == 1 } !skip'; }
# snapshot FILE: the machine as far as a run may change it. Folders by name
# only (their times follow what was made and removed in them); the temporary
# folders and the shared uninstaller aside.
snapshot() {
  local c=$WINEPREFIX/drive_c
  { (cd "$c" && find . \( -path ./windows/temp -o -path './users/*/Temp' -o -path ./windows/cvexec.exe \) -prune \
      -o -type d -printf '%p/\n' -o -printf '%p %s %m %T@\n' | sort)
    (cd "$c/CorvaneRollback" && find . -type f -exec md5sum {} + | sort)
    for f in replace.txt over.txt lib/newer.dll; do echo "$f $(attributes "$DEST/$f")"; done
    for key in 'HKCU\Software' 'HKCU\Environment' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
               'HKLM\System\CurrentControlSet\Services'; do
      "$WINE" reg export "$key" "$(win_path "$S/export.reg")" /y >/dev/null 2>&1
      iconv -f UTF-16LE -t UTF-8 "$S/export.reg" 2>/dev/null | tr -d '\r' | without_wine_keys
    done
  } >"$1"
}
unchanged() {  # NAME: the machine as before the run
  snapshot "$S/$1.after"
  diff "$S/$1.before" "$S/$1.after" >"$S/$1.diff" || { head -20 "$S/$1.diff"; return 1; }
}
rolled_back_in_trace() { grep -q "^$(trace_name kRollbackDone)=complete" "$1"; }

# ---- Cancel during the copy ---------------------------------------------------------
# The click arrives while the worker waits at the copy error of blocked.txt;
# the files before it have been placed (replacing three), the rest not.
prepare blocked; snapshot "$S/cancel.before"
THEME=$S/interactive-pkg/theme
start_packed "$S/interactive-pkg" "$S/cancel.trace" 90
drive wait-dialog 30000 >/dev/null
check rollback-cancel-replaced-before same_file "$S/interactive/payload/over.txt" "$DEST/over.txt"
click progress.lcd IDCANCEL
drive answer 10000 OK >/dev/null
drive answer 10000 Ignore >/dev/null
check rollback-cancel-complete-page on_page complete.lcd 30000
check rollback-cancel-undone rolled_back_in_trace "$S/cancel.trace"
check rollback-cancel-machine-as-before unchanged cancel
click complete.lcd IDC_FINISH
wait_setup

# ---- A copy error answered Cancel: the error page after the rollback -----------------
prepare blocked; snapshot "$S/copyerror.before"
start_packed "$S/interactive-pkg" "$S/copyerror.trace" 90
drive answer 30000 Cancel >/dev/null
check rollback-copy-error-page on_page setuperror.lcd 30000
screenshot rollback-copy-error
check rollback-copy-error-undone rolled_back_in_trace "$S/copyerror.trace"
check rollback-copy-error-machine-as-before unchanged copyerror
click setuperror.lcd IDCANCEL
wait_setup

# ---- A service failure answered Cancel: the run went to its end, then is undone ------
prepare; snapshot "$S/service.before"
THEME=$S/service-pkg/theme
start_packed "$S/service-pkg" "$S/service.trace" 90
drive answer 30000 Cancel >/dev/null
check rollback-service-error-page on_page setuperror.lcd 30000
check rollback-service-registered-first grep -qF 'install action=RegisterUninstall' "$S/service.trace"
check rollback-service-undone rolled_back_in_trace "$S/service.trace"
check rollback-service-machine-as-before unchanged service
click setuperror.lcd IDCANCEL
wait_setup

# ---- Unattended: a failed copy abandons the run, exit code 1, rolled back -------------
prepare blocked; snapshot "$S/quiet.before"
start_packed "$S/quiet-pkg" "$S/quiet.trace" 90
wait_setup
check rollback-unattended-exit-1 test "$SETUP_RC" -eq 1
check rollback-unattended-undone rolled_back_in_trace "$S/quiet.trace"
check rollback-unattended-machine-as-before unchanged quiet

# ---- A library file action abandons the setup after the installation completed -----
prepare; snapshot "$S/finish.before"
start_packed "$S/finish-pkg" "$S/finish.trace" 90
wait_setup
check rollback-finish-action-exit-1 test "$SETUP_RC" -eq 1
check rollback-finish-action-installed-first grep -q '^install action=RemoveTemporaryFiles' "$S/finish.trace"
check rollback-finish-action-undone rolled_back_in_trace "$S/finish.trace"
check rollback-finish-action-machine-as-before unchanged finish

# ---- Killed in the file phase: the next start of the setup completes the rollback ----
# The setup is killed while it waits at the copy error of blocked.txt, after
# replacing three files; the next start of the product's setup rolls back
# before its first page, where the machine is compared.
prepare blocked; snapshot "$S/killed.before"
THEME=$S/interactive-pkg/theme
start_packed "$S/interactive-pkg" "$S/killed.trace" 90
drive wait-dialog 30000 >/dev/null
check rollback-killed-replaced-before same_file "$S/interactive/payload/over.txt" "$DEST/over.txt"
kill -KILL $(pgrep -P "$SETUP_PID") 2>/dev/null
wait_setup
check rollback-killed-left-a-run-to-finish test -e "$UNINSTALL/run.pending"
THEME=$S/welcome-pkg/theme
start_packed "$S/welcome-pkg" "$S/resumed.trace" 90
check rollback-killed-next-start-first-page on_page welcome.lcd 30000
check rollback-killed-next-start-rolls-back rolled_back_in_trace "$S/resumed.trace"
check rollback-killed-machine-as-before unchanged killed
click welcome.lcd IDCANCEL
drive answer 10000 OK >/dev/null
on_page complete.lcd 15000 && click complete.lcd IDC_FINISH
wait_setup

# ---- A completed run keeps what it placed and deletes the files it replaced ---------
prepare
timeout 20 "$WINE" sc delete $TAKEN >/dev/null 2>&1
start_packed "$S/quiet-pkg" "$S/done.trace" 90
wait_setup
check rollback-completed-exit-0 test "$SETUP_RC" -eq 0
check rollback-completed-not-undone eval '! grep -q "^$(trace_name kRollback)=" "$S/done.trace"'
check rollback-completed-replaced same_file "$S/quiet/payload/replace.txt" "$DEST/replace.txt"
check rollback-completed-value-overwritten eval '"$WINE" reg query "HKCU\\Software\\CorvaneRollbackOld" /v Setting 2>/dev/null | grep -q "REG_SZ *new"'
check rollback-completed-ini-written grep -q 'Color=Blue' "$DEST/app.ini"
check rollback-completed-no-backup-folder not_exists "$UNINSTALL/Backup"
check rollback-completed-log-names-the-move grep -qF "BACKUP=$W\\over.txt|" "$UNINSTALL/uninstall.log"

timeout 20 "$WINE" sc delete $TAKEN >/dev/null 2>&1
reg_delete 'HKCU\Software\CorvaneRollback'; reg_delete 'HKCU\Software\CorvaneRollbackOld'
reg_delete 'HKCU\Environment' /v CVTEST_ROLLBACK
reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
rm -rf "$WINEPREFIX/drive_c/CorvaneRollback" "$UNINSTALL"
