#!/usr/bin/env bash
# The installation scope under Wine, checked from outside the setup: an
# all-users installation puts its shortcuts into everyone's Start menu and
# desktop and registers under HKEY_LOCAL_MACHINE; a per-user one writes
# nothing under HKEY_LOCAL_MACHINE or the Windows folder, registers under
# HKEY_CURRENT_USER with its own uninstaller, and its removal leaves nothing;
# the customer page's anyone / only-for-me choice switches the scope, and a
# per-user project refuses "anyone". (Every Wine process has administrator
# rights: the refusal for a standard user is a native rule test.)
source "$CV_ROOT/tests/lib_e2e.sh"
source "$CV_ROOT/tests/lib_snapshot.sh"
S=$(scratch_dir)

C=$WINEPREFIX/drive_c
UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall'
LOCAL_W=$("$WINE" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
APPDATA_W=$("$WINE" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
USER_CVEXEC="$LOCAL_W\\Corvane\\cvexec.exe"
UNATTENDED='[BUILDING]\r\n2=Yes\r\n'
SILENT_PAGES='TOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
CUSTOMER_PAGES='TOTAL1=3\r\nW0=customer.lcd\r\nW1=progress.lcd\r\nW2=complete.lcd\r\n'

# project DIR CODE FOLDER PAGES [MORE]: one file, a link in a group of the
# Programs menu and one on the desktop; MORE (printf escapes) goes into APPINFO.
project() {
  mkdir -p "$1/payload" "$1/theme"; cp "$CV_ROOT"/examples/sample/theme/* "$1/theme/"
  printf 'app' >"$1/payload/app.txt"
  printf 'payload\\app.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$1/data.inf"
  {
    printf '[APPINFO]\r\na1=Scope Product\r\na2=1.0\r\na3=%s\r\na4=%s\r\n%b' "$2" "$3" "${5:-}"
    printf '[DIALOGLIST]\r\n%b%b' "$4" "$ALL_SYSTEMS"
    printf '[FOLDERCV]\r\nTOTAL=2\r\n'
    printf 'A0=Start Menu\\Programs Menu\\Scope Tools\\App\r\nB0=App\r\nC0=<InstallDir>app.txt\r\n'
    printf 'A1=Desktop\\Scope App\r\nB1=Scope App\r\nC1=<InstallDir>app.txt\r\n'
  } >"$1/setup.inf"
}
# logged_link LOG-FOLDER SUFFIX: the SHORTCUT path of that folder's log holding SUFFIX, as a Unix path.
logged_link() {
  local line; line=$(tr -d '\r' <"$1/uninstall.log" 2>/dev/null | sed -n 's/^SHORTCUT=//p' | grep -F -- "$2" | head -n 1)
  [ -n "$line" ] && upath "$line"
}
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }
key_value() { "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"; }
# hklm_export FILE: HKEY_LOCAL_MACHINE\Software as regedit writes it (Wine's own keys aside).
hklm_export() {
  export_key 'HKEY_LOCAL_MACHINE\Software' "$1.export"
  iconv -f UTF-16LE -t UTF-8 "$1.export" 2>/dev/null | tr -d '\r' |
    awk '/^\[/ { skip = ($0 ~ /^\[HKEY_LOCAL_MACHINE\\Software\\Wine/) } !skip' >"$1"
}
# windows_files FILE: every path below the Windows folder with its size and time.
windows_files() { (cd "$C/windows" && find . -path ./temp -prune -o -printf '%p %s %T@\n' | LC_ALL=C sort) >"$1"; }

# ---- Everyone's: the common Start menu and desktop, the machine's key ----------
A_CODE='{C0FFEE00-SCOPE-ALL}'
project "$S/all" "$A_CODE" 'C:\CorvaneScope\All' "$SILENT_PAGES" "$UNATTENDED"
pack_project "$S/all" "$S/allpkg"
start_packed "$S/allpkg" "$S/all.trace" 90
wait_setup
A_LOG=$C/windows/Installer/$A_CODE
check scope-all-users-exit-0 test "$SETUP_RC" -eq 0
check scope-all-users-traced grep -qx "$(trace_name kInstallScope)=All-Users" <(tr -d '\r' <"$S/all.trace")
check scope-all-users-common-programs-menu \
  test -f "$C/ProgramData/Microsoft/Windows/Start Menu/Programs/Scope Tools/App.lnk"
check scope-all-users-public-desktop test -f "$C/users/Public/Desktop/Scope App.lnk"
check scope-all-users-logged-common-links grep -qxF \
  'SHORTCUT=C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Scope Tools\App.lnk' <(tr -d '\r' <"$A_LOG/uninstall.log")
check scope-all-users-machine-key key_exists "HKLM\\$UNINSTALL\\$A_CODE"
check scope-all-users-no-user-key bash -c "! \"$WINE\" reg query 'HKCU\\$UNINSTALL\\$A_CODE' >/dev/null 2>&1"
check scope-all-users-command-line test "$(key_value "HKLM\\$UNINSTALL\\$A_CODE" UninstallString)" = "cvexec.exe /R $A_CODE"
timeout -k 5 120 "$WINE" 'C:\windows\cvexec.exe' /S "$A_CODE" >/dev/null 2>&1
check scope-all-users-removed bash -c "[ ! -e \"$C/users/Public/Desktop/Scope App.lnk\" ] && \
  [ ! -e \"$C/ProgramData/Microsoft/Windows/Start Menu/Programs/Scope Tools\" ]"
check scope-all-users-unregistered bash -c "! \"$WINE\" reg query 'HKLM\\$UNINSTALL\\$A_CODE' >/dev/null 2>&1"

# ---- The user's: nothing of the machine's, the user's key and uninstaller -------
U_CODE='{C0FFEE00-SCOPE-USER}'
U_LOG=$(upath "$LOCAL_W\\Corvane\\Installer\\$U_CODE")
project "$S/user" "$U_CODE" '<UserProgramsFolder>\Scope App' "$SILENT_PAGES" "a8=Per-User\r\n$UNATTENDED"
pack_project "$S/user" "$S/userpkg"
check scope-per-user-packed test -f "$S/userpkg/setup.exe"
machine_snapshot "$S/user-before"
hklm_export "$S/hklm-before"
windows_files "$S/windows-before"
start_packed "$S/userpkg" "$S/user.trace" 90
wait_setup
check scope-per-user-exit-0 test "$SETUP_RC" -eq 0
check scope-per-user-traced grep -qx "$(trace_name kInstallScope)=Per-User" <(tr -d '\r' <"$S/user.trace")
hklm_export "$S/hklm-after"
windows_files "$S/windows-after"
check scope-per-user-nothing-under-hklm same_machine "$S/hklm-before" "$S/hklm-after"
check scope-per-user-nothing-in-windows-folder same_machine "$S/windows-before" "$S/windows-after"
check scope-per-user-installed-in-user-programs test -f "$(upath "$LOCAL_W\\Programs\\Scope App\\app.txt")"
check scope-per-user-log-in-local-app-data test -f "$U_LOG/uninstall.log"
check scope-per-user-own-uninstaller test -f "$(upath "$USER_CVEXEC")"
check scope-per-user-user-key test "$(key_value "HKCU\\$UNINSTALL\\$U_CODE" DisplayName)" = 'Scope Product'
check scope-per-user-command-line \
  test "$(key_value "HKCU\\$UNINSTALL\\$U_CODE" UninstallString)" = "\"$USER_CVEXEC\" /R $U_CODE"
timeout -k 5 60 "$WINE" uninstaller --list 2>/dev/null | tr -d '\r' >"$S/list.txt"
check scope-per-user-listed grep -q 'Scope Product' "$S/list.txt"
USER_LINK=$(logged_link "$U_LOG" 'App.lnk')
check scope-per-user-users-programs-menu bash -c "[ -f \"$USER_LINK\" ] && [[ \"$USER_LINK\" == */AppData/Roaming/Microsoft/Windows/* ]]"
check scope-per-user-not-public not_exists "$C/users/Public/Desktop/Scope App.lnk"
timeout -k 5 120 "$WINE" "$USER_CVEXEC" /S "$U_CODE" >/dev/null 2>&1
check scope-per-user-removal-exit-0 test $? -eq 0
machine_snapshot "$S/user-removed"
# The user's shared uninstaller stays, as everyone's stays in the Windows
# folder, and so does the user's list of programs, which the first per-user
# product of a fresh profile makes.
check scope-per-user-removal-leaves-nothing same_machine "$S/user-before" "$S/user-removed" \
  '/AppData/Local/Corvane(/cvexec\.exe|/Installer)?$|^> $|^> \[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\]$'
check scope-per-user-uninstall-folder-gone not_exists "$U_LOG"

# ---- The customer page switches the scope -----------------------------------
P_CODE='{C0FFEE00-SCOPE-PAGE}'
# Its folder names a folder of the scope's column: it follows the choice.
project "$S/page" "$P_CODE" '<AppDataFolder>\Scope Page' "$CUSTOMER_PAGES"
pack_project "$S/page" "$S/pagepkg"
THEME=$S/pagepkg/theme
start_packed "$S/pagepkg" "$S/page.trace" 120
check scope-page-shown on_page customer.lcd
check scope-page-anyone-first state_has customer.lcd IDC_ANYONE checked
click customer.lcd IDC_ONLYFORME
check scope-page-only-for-me-checked state_has customer.lcd IDC_ONLYFORME checked
click customer.lcd IDC_NEXT
on_page complete.lcd 60000 && click complete.lcd IDC_FINISH
wait_setup
check scope-page-exit-0 test "$SETUP_RC" -eq 0
check scope-page-folder-follows test -f "$(upath "$APPDATA_W\\Scope Page\\app.txt")"
check scope-page-user-key key_exists "HKCU\\$UNINSTALL\\$P_CODE"
check scope-page-no-machine-key bash -c "! \"$WINE\" reg query 'HKLM\\$UNINSTALL\\$P_CODE' >/dev/null 2>&1"
check scope-page-users-link bash -c "[[ \"$(logged_link "$(upath "$LOCAL_W\\Corvane\\Installer\\$P_CODE")" 'App.lnk')\" == */AppData/Roaming/Microsoft/Windows/* ]]"
timeout -k 5 120 "$WINE" "$USER_CVEXEC" /S "$P_CODE" >/dev/null 2>&1
check scope-page-removed bash -c "! \"$WINE\" reg query 'HKCU\\$UNINSTALL\\$P_CODE' >/dev/null 2>&1"

# A per-user project starts at "only for me" and refuses "anyone" with a message.
project "$S/fixed" '{C0FFEE00-SCOPE-FIXED}' '<UserProgramsFolder>\Scope Fixed' "$CUSTOMER_PAGES" 'a8=Per-User\r\n'
pack_project "$S/fixed" "$S/fixedpkg"
THEME=$S/fixedpkg/theme
start_packed "$S/fixedpkg" "$S/fixed.trace" 120
check scope-fixed-shown on_page customer.lcd
check scope-fixed-only-for-me-first state_has customer.lcd IDC_ONLYFORME checked
click customer.lcd IDC_ANYONE
drive dialog 20000 >"$S/fixed.box"
check scope-fixed-anyone-refused grep -qF 'can be installed only for you' "$S/fixed.box"
check scope-fixed-stays-only-for-me state_has customer.lcd IDC_ONLYFORME checked
click customer.lcd IDCANCEL
drive answer 10000 OK >/dev/null
on_page complete.lcd && click complete.lcd IDC_FINISH
wait_setup
check scope-fixed-cancelled-nothing-registered bash -c "! \"$WINE\" reg query 'HKCU\\$UNINSTALL\\{C0FFEE00-SCOPE-FIXED}' >/dev/null 2>&1"
