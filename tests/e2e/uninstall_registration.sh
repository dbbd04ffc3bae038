#!/usr/bin/env bash
# The uninstall registration under Wine, checked from outside: the product's
# uninstall key and its values, the uninstaller in the Windows folder, the
# message file, theme and uninstall-time program in the uninstall folder, the
# live-update files, and the log lines of the uninstall-time program; a key
# without display values; a preview run that registers nothing.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

UNINSTALL_KEYS='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
WINDIR=$WINEPREFIX/drive_c/windows
DEST=$WINEPREFIX/drive_c/CorvaneReg/App
W='C:\CorvaneReg\App'
UNATTENDED_PAGES='TOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'

# settings CODE [LINES]: an unattended project's setup.inf; LINES (printf
# escapes) go into APPINFO, and may open further sections.
settings() {
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\n%b' "$UNATTENDED_PAGES"
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'
  printf '[APPINFO]\r\na1=Reg Product\r\na2=4.2\r\na3=%s\r\na4=%s\r\n%b' "$1" "$W" "${2:-}"
}
# project DIR: payload of 3000 + 100 bytes, the theme, a message file and the
# uninstaller's files in working/ (stand-ins: only their bytes matter).
project() {
  mkdir -p "$1/payload" "$1/theme" "$1/working"
  cp "$CV_ROOT"/examples/sample/theme/* "$1/theme/"
  head -c 3000 /dev/zero | tr '\0' x >"$1/payload/big.bin"
  head -c 100 /dev/zero | tr '\0' y >"$1/payload/small.txt"
  printf 'payload\\big.bin\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$1/data.inf"
  printf 'payload\\small.txt\r\nDestination Computer\\<InstallDir>\\*0*0*2|\r\n' >>"$1/data.inf"
  printf '[MESSAGES]\r\n' >"$1/language.lan"
  printf 'stand-in uninstaller' >"$1/working/cvexec.exe"
  printf 'stand-in cleanup' >"$1/working/cleanup.exe"
  printf 'stand-in icon' >"$1/working/app.ico"
  printf 'stand-in live update' >"$1/working/liveupdate.exe"
  printf '[LIVE]\r\n' >"$1/working/liveupdate.inf"
}
log_of() { tr -d '\r' <"$WINDIR/Installer/$1/uninstall.log"; }
# dump CODE FILE: the values of the product's uninstall key, as reg prints them.
dump() { "$WINE" reg query "$UNINSTALL_KEYS\\$1" 2>/dev/null | tr -d '\r' >"$2"; }
# value_is DUMP NAME "TYPE DATA"
value_is() {
  local got; got=$(sed -n "s/^    $2    \(REG_[A-Z_]*\)    \(.*\)$/\1 \2/p" "$1")
  [ "$got" = "$3" ] || { echo "$2: '$got', expected '$3'"; return 1; }
}
no_value() { ! grep -q "^    $2    " "$1"; }
# first_line_of LOG KEY: number of the first line with that key (0: none).
first_line_of() { echo "$1" | grep -n "^$2=" | head -n 1 | cut -d: -f1 | grep . || echo 0; }

# ---- A full registration: display values, uninstaller resources, live update --------
CODE='Corvane Reg Test {7}'
P=$S/full; project "$P"
settings "$CODE" 'a10=Yes\r\na11=cleanup.exe\r\na12=/clean <InstallDir>\r\na13=No\r\na15=Yes\r\na16=Yes\r\na17=Yes\r\na18=app.ico\r\na19=Reg Publisher\r\na20=Reg Comments\r\na21=http://about.example\r\na22=http://update.example\r\na24=http://help.example\r\na25=555-0100\r\n[LIVEUPDATE]\r\n1=Yes\r\n2=Auto <ProductName>\r\n3=http://lv.example/<ProductCode>\r\n4=Yes\r\n5=\r\n' >"$P/setup.inf"
pack_project "$P" "$S/fullpkg"
rm -rf "$DEST" "$WINDIR/cvexec.exe"
reg_delete "$UNINSTALL_KEYS\\$CODE"
start_packed "$S/fullpkg" "$S/full.trace" 60
wait_setup
check reg-full-exit-0 test "$SETUP_RC" -eq 0
dump "$CODE" "$S/full.reg"
U=$WINDIR/Installer/$CODE
check reg-display-name value_is "$S/full.reg" DisplayName 'REG_SZ Reg Product'
check reg-display-version value_is "$S/full.reg" DisplayVersion 'REG_SZ 4.2'
check reg-publisher value_is "$S/full.reg" Publisher 'REG_SZ Reg Publisher'
check reg-comments value_is "$S/full.reg" Comments 'REG_SZ Reg Comments'
check reg-about value_is "$S/full.reg" URLInfoAbout 'REG_SZ http://about.example'
check reg-update value_is "$S/full.reg" URLUpdateInfo 'REG_SZ http://update.example'
check reg-help-link value_is "$S/full.reg" HelpLink 'REG_SZ http://help.example'
check reg-help-telephone value_is "$S/full.reg" HelpTelephone 'REG_SZ 555-0100'
check reg-last-installation-path value_is "$S/full.reg" LastInstallationPath "REG_SZ $W\\"
check reg-install-location value_is "$S/full.reg" InstallLocation "REG_SZ $W\\"
# The product code goes verbatim, spaces and all, after the options.
check reg-modify-path value_is "$S/full.reg" ModifyPath "REG_SZ cvexec.exe /M $CODE"
check reg-uninstall-string value_is "$S/full.reg" UninstallString "REG_SZ cvexec.exe /R $CODE"
check reg-quiet-uninstall-string value_is "$S/full.reg" QuietUninstallString "REG_SZ cvexec.exe \"/S\" $CODE"
check reg-install-source value_is "$S/full.reg" InstallSource "REG_SZ $(zpath "$S/fullpkg")"
check reg-no-modify value_is "$S/full.reg" NoModify 'REG_DWORD 0x1'
check reg-no-remove value_is "$S/full.reg" NoRemove 'REG_DWORD 0x1'
check reg-no-repair value_is "$S/full.reg" NoRepair 'REG_DWORD 0x1'
check reg-display-icon value_is "$S/full.reg" DisplayIcon "REG_SZ $W\\app.ico"
check reg-display-icon-copied same_file "$P/working/app.ico" "$DEST/app.ico"
check reg-display-icon-logged grep -qxF "FILE=$W\\app.ico" <(log_of "$CODE")
check reg-install-date value_is "$S/full.reg" InstallDate "REG_SZ $(date +%Y%m%d)"
# 3100 bytes installed: 4 KiB rounded up.
check reg-estimated-size value_is "$S/full.reg" EstimatedSize 'REG_DWORD 0x4'
check reg-uninstaller-in-windows-folder same_file "$P/working/cvexec.exe" "$WINDIR/cvexec.exe"
check reg-message-file-in-uninstall-folder same_file "$P/language.lan" "$U/language.lan"
check reg-theme-in-uninstall-folder same_file "$P/theme/complete.lcd" "$U/theme/complete.lcd"
check reg-uninstall-execute value_is "$S/full.reg" UninstallExecute "REG_SZ $W\\cleanup.exe"
check reg-uninstall-execute-copied same_file "$P/working/cleanup.exe" "$DEST/cleanup.exe"
check reg-uninstall-cmdline value_is "$S/full.reg" UninstallCmdLine 'REG_SZ /clean <InstallDir>'
check reg-remove-all-no value_is "$S/full.reg" UninstallRemoveAll 'REG_SZ No'
check reg-live-update-mode value_is "$S/full.reg" LVmode 'REG_SZ Auto Reg Product'
check reg-live-update-url value_is "$S/full.reg" LVurl "REG_SZ http://lv.example/$CODE"
check reg-live-update-silent value_is "$S/full.reg" LVsilent 'REG_SZ Yes'
check reg-live-update-in-install-folder same_file "$P/working/liveupdate.exe" "$DEST/liveupdate.exe"
check reg-live-update-inf same_file "$P/working/liveupdate.inf" "$DEST/liveupdate.inf"
check reg-live-update-logged grep -qxF "FILE=$W\\liveupdate.inf" <(log_of "$CODE")
LOG=$(log_of "$CODE")
check reg-run3rd-logged grep -qxF 'RUN3RD=cleanup.exe' <(echo "$LOG")
check reg-run3rdcmd-expanded grep -qxF "RUN3RDCMD=/clean $W\\" <(echo "$LOG")
check reg-remove-all-logged grep -qxF 'REMOVEALL=Yes' <(echo "$LOG")
check reg-run3rd-copied-to-uninstall-folder same_file "$P/working/cleanup.exe" "$U/cleanup.exe"
run3rd_before_files() {
  local run=$(first_line_of "$LOG" RUN3RDCMD) file=$(first_line_of "$LOG" FILE)
  [ "$run" -gt 0 ] && [ "$file" -gt "$run" ] || { echo "$LOG"; return 1; }
}
check reg-run3rd-before-file-lines run3rd_before_files

# ---- No display registration, no uninstall-time program ----------------------------
QUIET='Corvane Reg Quiet'
P=$S/quiet; project "$P"
settings "$QUIET" 'a10=Yes\r\na11=\r\na13=Yes\r\na14=No\r\n' >"$P/setup.inf"
pack_project "$P" "$S/quietpkg"
reg_delete "$UNINSTALL_KEYS\\$QUIET"
start_packed "$S/quietpkg" "$S/quiet.trace" 60
wait_setup
check reg-quiet-exit-0 test "$SETUP_RC" -eq 0
dump "$QUIET" "$S/quiet.reg"
check reg-quiet-key-exists "$WINE" reg query "$UNINSTALL_KEYS\\$QUIET"
check reg-quiet-no-display-name no_value "$S/quiet.reg" DisplayName
check reg-quiet-no-uninstall-string no_value "$S/quiet.reg" UninstallString
check reg-quiet-remove-all value_is "$S/quiet.reg" UninstallRemoveAll 'REG_SZ Yes'
check reg-quiet-no-uninstall-execute no_value "$S/quiet.reg" UninstallExecute
check reg-quiet-no-live-update no_value "$S/quiet.reg" LVmode
# log_lacks CODE KEY: the product's log was written and has no line with that key.
log_lacks() { log_of "$1" | grep -q "^TOTALFILE=" && ! log_of "$1" | grep -q "^$2"; }
check reg-empty-a11-no-run3rd-lines log_lacks "$QUIET" RUN3RD
check reg-quiet-no-remove-all-line log_lacks "$QUIET" REMOVEALL=

# ---- Preview: the uninstall-time program's lines, no registration -------------------
PREVIEW='Corvane Reg Preview'
P=$S/preview; project "$P"
settings "$PREVIEW" 'PREVIEW=255\r\na11=cleanup.exe\r\na12=/p\r\na13=No\r\n' >"$P/setup.inf"
pack_project "$P" "$S/previewpkg"
reg_delete "$UNINSTALL_KEYS\\$PREVIEW"
# Remove-all is asked only for an installation folder the run makes.
rm -rf "$WINEPREFIX/drive_c/CorvaneReg"
start_packed "$S/previewpkg" "$S/preview.trace" 60
wait_setup
check reg-preview-run3rd-lines grep -qxF 'RUN3RDCMD=/p' <(log_of "$PREVIEW")
check reg-preview-remove-all-line grep -qxF 'REMOVEALL=Yes' <(log_of "$PREVIEW")
no_key() { ! "$WINE" reg query "$UNINSTALL_KEYS\\$1" >/dev/null 2>&1; }
check reg-preview-no-key no_key "$PREVIEW"

# The keys, the stand-in uninstaller and the installed files stay out of the
# scripts that follow.
reg_delete "$UNINSTALL_KEYS\\$CODE"; reg_delete "$UNINSTALL_KEYS\\$QUIET"; reg_delete "$UNINSTALL_KEYS\\$PREVIEW"
rm -rf "$WINDIR/cvexec.exe" "$WINEPREFIX/drive_c/CorvaneReg"
