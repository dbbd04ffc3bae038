#!/usr/bin/env bash
# The system settings under Wine, checked from outside the setup: INI files
# read back, registry values and their types through reg.exe, associations
# over a new and an existing extension, environment variables appended and
# set in the user's and the machine's hive, and the log lines that let the
# uninstaller undo each of them.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-SYS-TEST}'
LOG=$WINEPREFIX/drive_c/windows/Installer/$CODE/uninstall.log
DEST=$WINEPREFIX/drive_c/CorvaneSys/App
W='C:\CorvaneSys\App'
USERENV='HKCU\Environment'
MACHINEENV='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
# reg_value KEY [NAME]: "TYPE DATA" of a value (the default value without NAME).
reg_value() {
  if [ $# -gt 1 ]; then "$WINE" reg query "$1" /v "$2"; else "$WINE" reg query "$1" /ve; fi 2>/dev/null |
    tr -d '\r' | sed -n 's/^    .*    \(REG_[A-Z_]*\)    \(.*\)$/\1 \2/p; s/^    .*    \(REG_[A-Z_]*\)$/\1 /p' | head -n 1
}
value_is() { local got; got=$(reg_value "${@:1:$#-1}"); [ "$got" = "${!#}" ] || { echo "value: $got"; return 1; }; }
no_value() { [ -z "$(reg_value "$@")" ]; }
log_has() { tr -d '\r' <"$LOG" | grep -qxF -- "$1" || { tr -d '\r' <"$LOG"; return 1; }; }
log_lacks() { ! tr -d '\r' <"$LOG" | grep -qF -- "$1"; }

LONG="%SystemRoot%\\system32;$(printf 'C:\\Tools\\Folder%04d;' $(seq 1 170))C:\\End"  # about 2 000 characters
cleanup() {
  reg_delete 'HKCU\Software\CorvaneE2E'; reg_delete 'HKCR\.cvnew'; reg_delete 'HKCR\CorvaneNew.Document'
  reg_delete 'HKCR\.txt'; reg_delete 'HKCR\txtfile\DefaultIcon'
  reg_add 'HKCR\txtfile' /ve /d 'Text Document'
  reg_add 'HKCR\txtfile\shell\open\command' /ve /d '"C:\windows\system32\notepad.exe" "%1"'
  for v in CVTEST_NEW CVTEST_LONG CVTEST_TWICE CVTEST_SET CVTEST_GONE; do reg_delete "$USERENV" /v $v; done
  reg_delete "$MACHINEENV" /v CVTEST_SYSTEM
}
cleanup
# What the machine has before: an existing .txt association, a long
# expanding variable, one that already holds an item, one to be removed.
reg_add 'HKCR\.txt' /ve /d txtfile
reg_add "$USERENV" /v CVTEST_LONG /t REG_EXPAND_SZ /d "$LONG"
reg_add "$USERENV" /v CVTEST_TWICE /d 'a;b'
reg_add "$USERENV" /v CVTEST_GONE /d 'old'

P=$S/sys; mkdir -p "$P/payload" "$P/theme" "$P/working"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'app' >"$P/payload/app.exe"
printf 'icon' >"$P/working/doc.ico"
printf 'payload\\app.exe\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$P/data.inf"
{
  printf '[APPINFO]\r\na1=Sys Product\r\na2=1.0\r\na3=%s\r\na4=%s\r\n' "$CODE" "$W"
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'
  printf '[INIINFO]\r\nTOTAL=2\r\nA0=INI Files\\app.ini\r\nC0=<InstallDir>\r\nA1=INI Files\\app.ini\r\nC1=C:\\Elsewhere\r\n'
  printf '[INIDATA]\r\nTOTAL=3\r\nA0=INI Files\\app.ini\\Main\\Color\r\nC0=Blue\r\n'
  printf 'A1=INI Files\\other.ini\\Main\\X\r\nC1=1\r\nA2=INI Files\\app.ini\\Paths\\Home\\\r\nC2=<InstallDir>\r\n'
  printf '[REGISTRYKEYS]\r\nTOTAL=1\r\n0=HKEY_CURRENT_USER\\Software\\CorvaneE2E\\<ProductName>\\\r\n'
  printf '[REGISTRY]\r\nTOTAL=5\r\n'
  printf 'A0=HKEY_CURRENT_USER\\Software\\CorvaneE2E\\Sys Product\\\r\nB0=Name\r\nC0=<ProductName>\r\nD0=String\r\n'
  printf 'A1=HKEY_CURRENT_USER\\Software\\CorvaneE2E\\Sys Product\\\r\nB1=Count\r\nC1=abc\r\nD1=1\r\n'
  printf 'A2=HKEY_CURRENT_USER\\Software\\CorvaneE2E\\Sys Product\\\r\nB2=Blob\r\nC2=AB\r\nD2=Binary\r\n'
  printf 'A3=HKEY_CURRENT_USER\\Software\\CorvaneE2E\\Missing\\\r\nB3=Lost\r\nC3=x\r\nD3=0\r\n'
  printf 'A4=HKEY_CURRENT_USER\\Software\\CorvaneE2E\\Sys Product\\\r\nB4=Minus\r\nC4=-1\r\nD4=DWORD\r\n'
  printf '[EXTCV]\r\nTOTAL=2\r\n'
  printf 'B0=<InstallDir>app.exe\r\nC0=.cvnew\r\nD0=CorvaneNew.Document\r\nE0=Corvane document\r\nG0=%%1\r\nH0=C:\\art\\doc.ico\r\n'
  printf 'B1=<InstallDir>app.exe\r\nC1=.txt\r\nD1=txtfile\r\nE1=Sys text\r\nG1=/edit "%%1"\r\nH1=doc.ico\r\n'
  printf '[ENVIRCV]\r\nTOTAL=7\r\n'
  printf 'A0=CVTEST_NEW\r\nC0=<InstallDir>bin\r\nE0=Append\r\nF0=Remove\r\nG0=User\r\n'
  printf 'A1=CVTEST_LONG\r\nC1=C:\\CorvaneSys\\App\\bin\r\nE1=Append\r\nF1=Remove\r\nG1=User\r\n'
  printf 'A2=CVTEST_TWICE\r\nC2=c\r\nE2=Append\r\nG2=User\r\n'
  printf 'A3=CVTEST_TWICE\r\nC3=C\r\nE3=Append\r\nG3=User\r\n'
  printf 'A4=CVTEST_SYSTEM\r\nC4=machine value\r\nF4=Remove\r\nG4=System\r\n'
  printf 'A5=CVTEST_SET\r\nC5=%%APPDATA%%\\Sys\r\nF5=Remove\r\nG5=User\r\n'
  printf 'A6=CVTEST_GONE\r\nD6=Remove\r\nG6=User\r\n'
} >"$P/setup.inf"
pack_project "$P" "$S/syspkg"
start_packed "$S/syspkg" "$S/sys.trace" 90
wait_setup
check sys-unattended-exit-0 test "$SETUP_RC" -eq 0

# INI files: one file logged once, entries of an undeclared file skipped.
INI=$DEST/app.ini
check sys-ini-value-written grep -qx $'Color=Blue\r' "$INI"
check sys-ini-value-verbatim grep -qx $'Home=<InstallDir>\r' "$INI"
check sys-ini-undeclared-skipped not_exists "$DEST/other.ini"
check sys-ini-logged-once test "$(grep -c '^INIFILE=C:\\CorvaneSys\\App\\app.ini' "$LOG")" -eq 1
check sys-ini-entry-logged log_has 'INIVAL=C:\CorvaneSys\App\app.ini|Paths|Home|0'
check sys-ini-repeat-not-logged log_lacks 'Elsewhere'

# Registry: types, a key that does not exist, the log.
K='HKCU\Software\CorvaneE2E\Sys Product'
check sys-reg-string value_is "$K" Name 'REG_SZ Sys Product'
check sys-reg-dword-abc-is-0 value_is "$K" Count 'REG_DWORD 0x0'
check sys-reg-dword-minus-one value_is "$K" Minus 'REG_DWORD 0xffffffff'
check sys-reg-binary-text-and-zero value_is "$K" Blob 'REG_BINARY 414200'
check sys-reg-missing-key-not-written no_value 'HKCU\Software\CorvaneE2E\Missing' Lost
check sys-reg-missing-key-logged log_has 'REGVAL=HKEY_CURRENT_USER\Software\CorvaneE2E\Missing\Lost'
check sys-regkey-logged-expanded log_has 'REGKEY=HKEY_CURRENT_USER\Software\CorvaneE2E\Sys Product'

# Associations: a new one registered whole, its keys marked for removal in
# order; the existing .txt one only remembered value by value.
check sys-assoc-extension value_is 'HKCR\.cvnew' 'REG_SZ CorvaneNew.Document'
check sys-assoc-description value_is 'HKCR\CorvaneNew.Document' 'REG_SZ Corvane document'
check sys-assoc-icon value_is 'HKCR\CorvaneNew.Document\DefaultIcon' "REG_SZ $W\\doc.ico"
check sys-assoc-command value_is 'HKCR\CorvaneNew.Document\shell\open\command' "REG_SZ \"$W\\app.exe\" %1"
check sys-assoc-icon-copied same_file "$P/working/doc.ico" "$DEST/doc.ico"
check sys-assoc-existing-overwritten value_is 'HKCR\txtfile\shell\open\command' "REG_SZ \"$W\\app.exe\" /edit \"%1\""
check sys-assoc-existing-not-removed log_lacks 'REMKEY=HKEY_CLASSES_ROOT\.txt'
check sys-assoc-existing-type-not-removed log_lacks 'REMKEY=HKEY_CLASSES_ROOT\txtfile'$'\r'
expected_assoc_lines() {
  printf 'REMKEY=HKEY_CLASSES_ROOT\\CorvaneNew.Document\nREMKEY=HKEY_CLASSES_ROOT\\.cvnew\n'
  printf 'FILE=%s\\doc.ico\n' "$W"
  printf 'REGOLD=1|HKEY_CLASSES_ROOT\\txtfile\\|Text Document\n'
  printf 'REMKEY=HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon\n'
  printf 'REGOLD=1|HKEY_CLASSES_ROOT\\txtfile\\shell\\Open\\Command\\|"C:\\windows\\system32\\notepad.exe" "%%1"\n'
  printf 'REGOLD=1|HKEY_CLASSES_ROOT\\.txt\\|txtfile\n'
  printf 'FILE=%s\\doc.ico\n' "$W"
}
check sys-assoc-log-lines-in-order same_file <(expected_assoc_lines) <(tr -d '\r' <"$LOG" | grep -E '^(REMKEY|REGOLD)=|^FILE=.*doc\.ico$')

# Environment: appended items, types kept, hives kept apart.
check sys-env-append-to-missing-starts-with-semicolon value_is "$USERENV" CVTEST_NEW "REG_SZ ;$W\\bin"
check sys-env-append-keeps-long-value-and-type value_is "$USERENV" CVTEST_LONG "REG_EXPAND_SZ $LONG;$W\\bin"
check sys-env-append-twice-adds-once value_is "$USERENV" CVTEST_TWICE 'REG_SZ a;b;c'
check sys-env-new-value-with-percent-expands value_is "$USERENV" CVTEST_SET 'REG_EXPAND_SZ %APPDATA%\Sys'
check sys-env-system-in-machine-hive value_is "$MACHINEENV" CVTEST_SYSTEM 'REG_SZ machine value'
check sys-env-system-not-in-user-hive no_value "$USERENV" CVTEST_SYSTEM
check sys-env-removed no_value "$USERENV" CVTEST_GONE
check sys-env-appended-item-logged log_has "ENVAPPEND=HKEY_CURRENT_USER\\Environment\\CVTEST_LONG|$W\\bin"
check sys-env-append-not-whole-variable log_lacks 'REGVAL=HKEY_CURRENT_USER\Environment\CVTEST_LONG'
check sys-env-set-variable-logged log_has 'REGVAL=HKEY_CURRENT_USER\Environment\CVTEST_SET'
check sys-env-system-logged log_has 'REGVAL=HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment\CVTEST_SYSTEM'
cleanup
