#!/usr/bin/env bash
# Upgrades through the real uninstaller under Wine: version 2 installed as a
# new installation that removes the earlier version first leaves only
# version 2's files, shortcuts, values and registration; an upgrade in place
# installs into version 1's folder. Updated in place, the product owns what
# version 1 made: a failed version 2 puts version 1 back as it was (the
# user's edit and the registration too), a dropped file, a value no longer
# written and a file type's old class go with the update, and one removal
# leaves nothing of either version. A newer shared uninstaller is never
# replaced by an older product's; a rollback puts back the one it replaced.
source "$CV_ROOT/tests/lib_e2e.sh"
source "$CV_ROOT/tests/lib_snapshot.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-UPGRADE}'
ROOT=$WINEPREFIX/drive_c/CorvaneUp
UNINSTALL_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
GROUP=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/"Start Menu"/Programs/"Up Product"  # everyone's
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

# ---- Updated in place: the product owns what version 1 made ----------------
OWN='{C0FFEE00-UP-OWNED}'
OWN_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$OWN"
# owned DIR VERSION [SETTINGS]: app.txt, app.cfg (only if absent) and
# only<VERSION>.txt (version 1 also gone\gone.txt); a shortcut; Version
# (version 1 also Old); the file types .cvoup and .cvopre (which was there)
# of class CvOwnedUp.Doc<VERSION>; C:\CvOwnedBin appended to CVUP_PATH;
# CVUP_SET (which was there) set, not to be removed.
owned() {
  local P=$1 v=$2
  mkdir -p "$P/payload" "$P/theme"; cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
  printf 'app %s' "$v" >"$P/payload/app.txt"; printf 'settings %s' "$v" >"$P/payload/app.cfg"; printf '%s' "$v" >"$P/payload/only$v.txt"
  { printf 'payload\\app.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n'
    printf 'payload\\app.cfg\r\nDestination Computer\\<InstallDir>\\*32*0*2|\r\n'
    printf 'payload\\only%s.txt\r\nDestination Computer\\<InstallDir>\\*0*0*3|\r\n' "$v"
    [ "$v" = 1 ] && printf 'payload\\gone.txt\r\nDestination Computer\\<InstallDir>\\gone\\*0*0*4|\r\n'; } >"$P/data.inf"
  printf 'gone' >"$P/payload/gone.txt"
  local values='TOTAL=1\r\n' helplink=''
  [ "$v" = 1 ] && values='TOTAL=2\r\nA1=HKEY_CURRENT_USER\\Software\\CvOwnedUp\\\r\nB1=Old\r\nC1=1\r\nD1=String\r\n' && helplink='a24=https://help.example/1\r\n'
  { printf '[APPINFO]\r\na1=Owned Up\r\na2=%s.0\r\na3=%s\r\na4=C:\\CorvaneOwned\r\n%b' "$v" "$OWN" "$helplink"
    printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b' "$ALL_SYSTEMS"
    printf '[FOLDERCV]\r\nTOTAL=1\r\nA0=Start Menu\\Programs Menu\\Owned Up\\Owned Up\r\nB0=Owned Up\r\nC0=<InstallDir>app.txt\r\n'
    printf '[REGISTRYKEYS]\r\nTOTAL=1\r\n0=HKEY_CURRENT_USER\\Software\\CvOwnedUp\r\n'
    printf '[REGISTRY]\r\n%bA0=HKEY_CURRENT_USER\\Software\\CvOwnedUp\\\r\nB0=Version\r\nC0=%s.0\r\nD0=String\r\n' "$values" "$v"
    printf '[EXTCV]\r\nTOTAL=2\r\nB0=<InstallDir>app.txt\r\nC0=.cvoup\r\nD0=CvOwnedUp.Doc%s\r\nE0=Owned document\r\nG0=%%1\r\n' "$v"
    printf 'B1=<InstallDir>app.txt\r\nC1=.cvopre\r\nD1=CvOwnedUp.Doc%s\r\nE1=Owned document\r\nG1=%%1\r\n' "$v"
    printf '[ENVIRCV]\r\nTOTAL=2\r\nA0=CVUP_PATH\r\nC0=C:\\CvOwnedBin\r\nE0=Append\r\nF0=Remove\r\nG0=User\r\n'
    printf 'A1=CVUP_SET\r\nC1=product%s\r\nG1=User\r\n%b' "$v" "${3:-}"
  } >"$P/setup.inf"
  pack_project "$P" "$P.pkg"
}
silently() { local pkg=$1; shift; (cd "$pkg" && exec timeout -k 5 120 "$WINE" setup.exe /S "$@") >/dev/null 2>&1; SETUP_RC=$?; }
owned "$S/o1" 1
owned "$S/o2" 2
owned "$S/o2fails" 2 '[CONDITIONS]\r\nTOTAL=1\r\nA0=Stop\r\nB0=1\r\nC0===\r\nD0=1\r\nE0=After Click Finish Button\r\nF0=1\r\n00=CancelInstall();\r\n'
OWNED=$WINEPREFIX/drive_c/CorvaneOwned
reg_add 'HKCU\Environment' /v CVUP_PATH /d 'C:\Tools'
reg_add 'HKCU\Environment' /v CVUP_SET /d 'user value'
reg_add 'HKCR\.cvopre' /ve /d OtherPre.Doc
machine_snapshot "$S/owned.before"
silently "$S/o1.pkg"
printf 'my settings' >"$OWNED/app.cfg"
reg_add "$OWN_KEY" /v SystemComponent /t REG_DWORD /d 1   # an administrator's own value
machine_snapshot "$S/owned.v1" "$OWNED"
check upgrade-owned-v1-installed bash -c "[ $SETUP_RC -eq 0 ] && [ -f '$OWNED/only1.txt' ]"
silently "$S/o2fails.pkg"
check upgrade-owned-failed-v2-exit-1 test "$SETUP_RC" -eq 1
machine_snapshot "$S/owned.failed" "$OWNED"
check upgrade-owned-failed-v2-leaves-v1-as-it-was same_machine "$S/owned.v1" "$S/owned.failed"
# A folder version 2 drops, put in place of by a link to someone else's files.
VICTIM=$WINEPREFIX/drive_c/CvOwnedVictim
mkdir -p "$VICTIM"; printf 'theirs' >"$VICTIM/gone.txt"
rm -rf "$OWNED/gone"; ln -s "$VICTIM" "$OWNED/gone"
silently "$S/o2.pkg"
check upgrade-owned-v2-exit-0 test "$SETUP_RC" -eq 0
check upgrade-owned-commit-never-through-a-link test "$(cat "$VICTIM/gone.txt" 2>/dev/null)" = theirs
rm -f "$OWNED/gone"; rm -rf "$VICTIM"
check upgrade-owned-administrators-value-kept test "$(value "$OWN_KEY" SystemComponent)" = 0x1
check upgrade-owned-extension-that-was-there-is-v2s bash -c "\"$WINE\" reg query 'HKCR\\.cvopre' /ve | grep -q CvOwnedUp.Doc2"
check upgrade-owned-v2-files bash -c "[ \"\$(cat '$OWNED/app.txt')\" = 'app 2' ] && [ -f '$OWNED/only2.txt' ] && [ ! -e '$OWNED/only1.txt' ]"
check upgrade-owned-users-settings-kept test "$(cat "$OWNED/app.cfg")" = 'my settings'
check upgrade-owned-value-no-longer-written-gone test -z "$(value 'HKCU\Software\CvOwnedUp' Old)"
check upgrade-owned-stale-registration-value-gone test -z "$(value "$OWN_KEY" HelpLink)"
check upgrade-owned-registration-says-v2 test "$(value "$OWN_KEY" DisplayVersion)" = 2.0
check upgrade-owned-old-class-gone bash -c "! \"$WINE\" reg query 'HKCR\\CvOwnedUp.Doc1' >/dev/null 2>&1"
"$WINE" "C:\\windows\\cvexec.exe" /S "$OWN" >/dev/null 2>&1; RC=$?
check upgrade-owned-removal-exit-0 test "$RC" -eq 0
machine_snapshot "$S/owned.after"
check upgrade-owned-removal-leaves-nothing-of-either same_machine "$S/owned.before" "$S/owned.after" '\./windows/cvexec\.exe$'

# ---- Killed half-way through an update, then removed: nothing of either -----
silently "$S/o1.pkg"
mkdir -p "$OWNED/only2.txt"   # a folder where version 2's new file goes: its copy fails and asks
cp -r "$S/o2" "$S/o2asks"; sed -i 's/^2=Yes\r$/2=No\r/' "$S/o2asks/setup.inf"; pack_project "$S/o2asks" "$S/o2asks.pkg"
start_packed "$S/o2asks.pkg" "$S/killed.trace" 90
drive wait-dialog 30000 >/dev/null
"$WINE" taskkill /f /im setup.exe >/dev/null 2>&1; wait_setup
rmdir "$OWNED/only2.txt"
"$WINE" "C:\\windows\\cvexec.exe" /S "$OWN" >/dev/null 2>&1; RC=$?
check upgrade-killed-then-removed-exit-0 test "$RC" -eq 0
machine_snapshot "$S/killed.after"
check upgrade-killed-then-removed-leaves-nothing same_machine "$S/owned.before" "$S/killed.after" '\./windows/cvexec\.exe$'

# ---- Installed again into another folder: the first copy goes ---------------
silently "$S/o1.pkg"
silently "$S/o1.pkg" '/D=C:\CorvaneOwnedElsewhere'
check upgrade-elsewhere-exit-0 test "$SETUP_RC" -eq 0
check upgrade-elsewhere-first-copy-gone not_exists "$OWNED"
check upgrade-elsewhere-new-copy test -f "$WINEPREFIX/drive_c/CorvaneOwnedElsewhere/app.txt"
"$WINE" "C:\\windows\\cvexec.exe" /S "$OWN" >/dev/null 2>&1; RC=$?
machine_snapshot "$S/elsewhere.after"
check upgrade-elsewhere-removal-leaves-nothing same_machine "$S/owned.before" "$S/elsewhere.after" '\./windows/cvexec\.exe$'

# ---- The shared uninstaller: a newer one stays; a rollback puts back the one -
# it replaced.
SHARED=$WINEPREFIX/drive_c/windows/cvexec.exe
cp "$CV_WIN/tests/versioned_2_0.dll" "$SHARED"   # stands for a newer uninstaller
silently "$S/o1.pkg"
check upgrade-newer-shared-uninstaller-kept bash -c "[ $SETUP_RC -eq 0 ] && cmp -s '$CV_WIN/tests/versioned_2_0.dll' '$SHARED'"
timeout -k 5 60 "$WINE" "$(zpath "$CV_WIN/src/cvexec.exe")" /S "$OWN" >/dev/null 2>&1
printf 'an unversioned uninstaller' >"$SHARED"
silently "$S/o2fails.pkg"
check upgrade-rollback-puts-back-the-shared-uninstaller bash -c "[ $SETUP_RC -eq 1 ] && [ \"\$(cat '$SHARED')\" = 'an unversioned uninstaller' ]"
cp "$CV_WIN/src/cvexec.exe" "$SHARED"
reg_delete 'HKCU\Environment' /v CVUP_PATH; reg_delete 'HKCU\Environment' /v CVUP_SET; reg_delete 'HKCR\.cvopre'
