#!/usr/bin/env bash
# Upgrades through the real uninstaller under Wine: version 2 installed as a
# new installation that removes the earlier version first leaves only
# version 2's files, shortcuts, values and registration; an upgrade in place
# installs into version 1's folder.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-UPGRADE}'
ROOT=$WINEPREFIX/drive_c/CorvaneUp
UNINSTALL_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
GROUP=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs)/"Up Product"
cleanup() {
  "$WINE" "C:\\windows\\cvexec.exe" /S $CODE >/dev/null 2>&1
  reg_delete "$UNINSTALL_KEY"; reg_delete 'HKCU\Software\CorvaneUp'
  rm -rf "$ROOT" "$GROUP" "$WINEPREFIX/drive_c/windows/Installer/$CODE"
}
# version DIR VERSION FOLDER [APPINFO LINES]: a project of that version
# installing common.txt, only<VERSION>.txt, a shortcut and a value.
version() {
  local P=$1 v=$2
  mkdir -p "$P/payload" "$P/theme"; cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
  printf 'common %s' "$v" >"$P/payload/common.txt"; printf '%s' "$v" >"$P/payload/only$v.txt"
  printf 'payload\\common.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\npayload\\only%s.txt\r\nDestination Computer\\<InstallDir>\\*0*0*2|\r\n' "$v" >"$P/data.inf"
  {
    printf '[APPINFO]\r\na1=Up Product\r\na2=%s.0\r\na3=%s\r\na4=%s\r\n%b' "$v" "$CODE" "$3" "${4:-}"
    printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b' "$ALL_SYSTEMS"
    printf '[FOLDERCV]\r\nTOTAL=1\r\nA0=Start Menu\\Programs Menu\\Up Product\\Up %s\r\nB0=Up %s\r\nC0=<InstallDir>common.txt\r\n' "$v" "$v"
    printf '[REGISTRYKEYS]\r\nTOTAL=1\r\n0=HKEY_CURRENT_USER\\Software\\CorvaneUp\r\n'
    printf '[REGISTRY]\r\nTOTAL=1\r\nA0=HKEY_CURRENT_USER\\Software\\CorvaneUp\\\r\nB0=Version\r\nC0=%s.0\r\nD0=String\r\n' "$v"
  } >"$P/setup.inf"
  pack_project "$P" "$P.pkg"
}
install() { start_packed "$1.pkg" "$1.trace" 90; wait_setup; }
value() { "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^    $2    REG_[A-Z_]*    //p"; }

cleanup
version "$S/v1" 1 'C:\CorvaneUp\V1'
version "$S/v2" 2 'C:\CorvaneUp\V2' 'a26=New Installation\r\na29=Yes\r\n'
version "$S/v3" 3 'C:\CorvaneUp\Elsewhere' 'a26=Upgrade\r\na27=Auto-Detect\r\n'

install "$S/v1"
check upgrade-v1-installed test "$SETUP_RC" -eq 0 -a -f "$ROOT/V1/only1.txt" -a -f "$GROUP/Up 1.lnk"
install "$S/v2"
check upgrade-remove-first-exit-0 test "$SETUP_RC" -eq 0
check upgrade-remove-first-v1-folder-gone not_exists "$ROOT/V1"
check upgrade-remove-first-v2-files same_file <(printf 'common 2') "$ROOT/V2/common.txt"
check upgrade-remove-first-v2-only test -f "$ROOT/V2/only2.txt"
check upgrade-remove-first-v1-shortcut-gone not_exists "$GROUP/Up 1.lnk"
check upgrade-remove-first-v2-shortcut test -f "$GROUP/Up 2.lnk"
check upgrade-remove-first-value test "$(value 'HKCU\Software\CorvaneUp' Version)" = 2.0
check upgrade-remove-first-registration test "$(value "$UNINSTALL_KEY" DisplayVersion)" = 2.0
check upgrade-remove-first-folder-registered test "$(value "$UNINSTALL_KEY" LastInstallationPath)" = 'C:\CorvaneUp\V2\'

cleanup
install "$S/v1"
install "$S/v3"
check upgrade-in-place-exit-0 test "$SETUP_RC" -eq 0
check upgrade-in-place-into-v1-folder same_file <(printf 'common 3') "$ROOT/V1/common.txt"
check upgrade-in-place-new-file test -f "$ROOT/V1/only3.txt"
check upgrade-in-place-nothing-elsewhere not_exists "$ROOT/Elsewhere"
check upgrade-in-place-registration test "$(value "$UNINSTALL_KEY" DisplayVersion)" = 3.0
cleanup
