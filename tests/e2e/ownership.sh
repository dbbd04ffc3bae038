#!/usr/bin/env bash
# Ownership under Wine: removal and rollback undo what a run made, never what
# it found. Remove-all in a folder the user chose keeps the user's files; an
# only-if-absent file that was there is never claimed; a folder that was there
# and empty stays after a rollback, and so does the user's shortcut the run
# replaced; a second run over the product still owns
# the folder the first one made. Each checked from outside: the file tree with
# contents and the registry, before and after. The user's own PATH-like item
# stays when the project appends the same item, and installed twice the
# product's own item and value still go; a variable the run deleted
# comes back with a rollback, and one it created for good goes with it. A value whose key the user deleted since counts
# as removed: the product leaves the list of programs. A log that cannot be
# written takes the run back. INI files that were there keep all but the
# run's entries (win.ini too). A link put in place of a product folder is
# never followed; an extension another program took over keeps its
# registration. On another volume a replaced file waits in a folder the run
# makes, private and unguessable, never in one that was there.
source "$CV_ROOT/tests/lib_e2e.sh"
source "$CV_ROOT/tests/lib_snapshot.sh"
S=$(scratch_dir)
CODE='{C0FFEE00-OWN-RUN}'
CVEXEC='C:\windows\cvexec.exe'
C=$WINEPREFIX/drive_c
ALLOWED='\./windows/cvexec\.exe$'

# project DIR [SETTINGS]: app.txt and settings.cfg (only if absent, flag 32)
# in the installation folder, guide.txt in a folder of its own; remove-all
# asked (a13=No); unattended. SETTINGS are added to setup.inf.
project() {
  local P=$1
  mkdir -p "$P/payload" "$P/theme"
  cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
  printf 'app' >"$P/payload/app.txt"; printf 'shipped' >"$P/payload/settings.cfg"; printf 'guide' >"$P/payload/guide.txt"
  { printf 'payload\\app.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n'
    printf 'payload\\settings.cfg\r\nDestination Computer\\<InstallDir>\\*32*0*2|\r\n'
    printf 'payload\\guide.txt\r\nDestination Computer\\<InstallDir>\\docs\\*0*0*3|\r\n'
  } >"$P/data.inf"
  printf '[APPINFO]\r\na1=Owned Product\r\na2=1.0\r\na3=%s\r\na4=C:\\OwnedDefault\r\na13=No\r\n' "$CODE" >"$P/setup.inf"
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b%b' \
    "$ALL_SYSTEMS" "${2:-}" >>"$P/setup.inf"
  pack_project "$P" "$P.pkg"
}
# install PKG [SWITCH...]: the exit code in RC.
install() { local pkg=$1; shift; (cd "$pkg" && exec timeout -k 5 120 "$WINE" setup.exe /S "$@") >/dev/null 2>&1; RC=$?; }
remove() { timeout -k 5 120 "$WINE" "$CVEXEC" /S "$CODE" >/dev/null 2>&1; RC=$?; }

# The user's variables: an item the project appends too, one it deletes.
reg_add 'HKCU\Environment' /v CVOWN_PATH /t REG_EXPAND_SZ /d 'C:\Tools;C:\Mine'
reg_add 'HKCU\Environment' /v CVOWN_OLD /d 'old value'
reg_add 'HKCU\Environment' /v CVOWN_SET /d 'user value'
# The project appends the user's item and one of its own, and sets a variable the user had.
project "$S/plain" '[ENVIRCV]\r\nTOTAL=3\r\nA0=CVOWN_PATH\r\nC0=C:\\Mine\r\nE0=Append\r\nF0=Remove\r\nG0=User\r\nA1=CVOWN_PATH\r\nC1=C:\\OwnedBin\r\nE1=Append\r\nF1=Remove\r\nG1=User\r\nA2=CVOWN_SET\r\nC2=product\r\nF2=Remove\r\nG2=User\r\n'

# ---- Remove-all in a folder the user chose, which held their files ---------
mkdir -p "$C/UserData/photos"
printf 'my thesis' >"$C/UserData/thesis.docx"; printf 'jpeg' >"$C/UserData/photos/holiday.jpg"
printf 'my settings' >"$C/UserData/settings.cfg"
machine_snapshot "$S/user.before" "$C/UserData"
install "$S/plain.pkg" '/D=C:\UserData'
check own-user-folder-installed bash -c "[ $RC -eq 0 ] && [ -f '$C/UserData/app.txt' ] && [ -f '$C/UserData/docs/guide.txt' ]"
check own-only-if-absent-left-alone test "$(cat "$C/UserData/settings.cfg")" = 'my settings'
remove
check own-user-folder-removal-exit-0 test "$RC" -eq 0
machine_snapshot "$S/user.after" "$C/UserData"
check own-user-folder-keeps-the-users-files same_machine "$S/user.before" "$S/user.after" "$ALLOWED"
rm -rf "$C/UserData"

# ---- A rollback leaves a folder that was there, empty ----------------------
project "$S/stopped" '[CONDITIONS]\r\nTOTAL=1\r\nA0=Stop\r\nB0=1\r\nC0===\r\nD0=1\r\nE0=After Click Finish Button\r\nF0=1\r\n00=CancelInstall();\r\n[ENVIRCV]\r\nTOTAL=2\r\nA0=CVOWN_OLD\r\nD0=Remove\r\nG0=User\r\nA1=CVOWN_NEW\r\nC1=kept\r\nG1=User\r\n[FOLDERCV]\r\nTOTAL=1\r\nA0=Desktop\\Owned App\r\nB0=Owned App\r\nC0=<InstallDir>app.txt\r\n'
mkdir -p "$C/EmptyChosen"
DESKTOP_DIR=$C/users/Public/Desktop  # the project installs for everyone
mkdir -p "$DESKTOP_DIR"; printf 'the user link' >"$DESKTOP_DIR/Owned App.lnk"   # a shortcut of that name already there
machine_snapshot "$S/empty.before" "$DESKTOP_DIR"
install "$S/stopped.pkg" "/LOG=$(zpath "$S/stopped.log")" '/D=C:\EmptyChosen'
check own-rollback-replaced-the-users-shortcut grep -aq '^uninstall log=SHORTCUT=.*Owned App.lnk' "$S/stopped.log"
check own-rollback-exit-1 test "$RC" -eq 1
machine_snapshot "$S/empty.after" "$DESKTOP_DIR"
rm -f "$DESKTOP_DIR/Owned App.lnk"
check own-rollback-keeps-the-empty-folder same_machine "$S/empty.before" "$S/empty.after" "$ALLOWED"
rm -rf "$C/EmptyChosen"

# ---- Installed twice, removed once: nothing of either run stays ------------
machine_snapshot "$S/twice.before"
install "$S/plain.pkg"; first=$RC
install "$S/plain.pkg"
check own-twice-installed bash -c "[ $first -eq 0 ] && [ $RC -eq 0 ] && [ -f '$C/OwnedDefault/app.txt' ] &&
  \"$WINE\" reg query 'HKCU\\Environment' /v CVOWN_PATH | grep -q 'C:.Tools;C:.Mine;C:.OwnedBin'"
remove
machine_snapshot "$S/twice.after"
check own-twice-removed-whole same_machine "$S/twice.before" "$S/twice.after" "$ALLOWED"
reg_delete 'HKCU\Environment' /v CVOWN_PATH; reg_delete 'HKCU\Environment' /v CVOWN_OLD; reg_delete 'HKCU\Environment' /v CVOWN_SET

# ---- A key the user deleted since: the removal still ends, the entry goes ---
reg_add 'HKCU\Software\CvOwnShared' /v Mode /d user
project "$S/shared" '[REGISTRY]\r\nTOTAL=1\r\nA0=HKEY_CURRENT_USER\\Software\\CvOwnShared\\\r\nB0=Mode\r\nC0=product\r\nD0=String\r\n'
install "$S/shared.pkg"
# holds KEY NAME TEXT: the value NAME ("" the default) of KEY shows TEXT.
holds() {
  if [ -n "$2" ]; then "$WINE" reg query "$1" /v "$2"; else "$WINE" reg query "$1" /ve; fi 2>/dev/null | grep -q "$3"
}
no_entry() { ! "$WINE" reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE" >/dev/null 2>&1; }
check own-gone-key-installed holds 'HKCU\Software\CvOwnShared' Mode product
reg_delete 'HKCU\Software\CvOwnShared'
remove
check own-gone-key-removal-exit-0 test "$RC" -eq 0
check own-gone-key-entry-removed no_entry

# ---- A log that cannot be written: the run is taken back, nothing registered --
mkdir -p "$C/windows/Installer/$CODE/uninstall.log"   # a folder where the log would go
machine_snapshot "$S/nolog.before"
install "$S/plain.pkg"
check own-unwritable-log-exit-1 test "$RC" -eq 1
machine_snapshot "$S/nolog.after"
check own-unwritable-log-nothing-stays same_machine "$S/nolog.before" "$S/nolog.after" "$ALLOWED"
rm -rf "$C/windows/Installer/$CODE"

# ---- INI files that were there: only the run's entries go, the files stay ---
mkdir -p "$C/SharedIni"; printf '[Other]\r\nColor=Red\r\nSize=3\r\n' >"$C/SharedIni/shared.ini"
project "$S/inis" '[INIINFO]\r\nTOTAL=2\r\nA0=INI Files\\win.ini\r\nC0=<WindowsFolder>\r\nA1=INI Files\\shared.ini\r\nC1=C:\\SharedIni\r\n[INIDATA]\r\nTOTAL=3\r\nA0=INI Files\\win.ini\\CorvaneOwn\\Mode\r\nC0=on\r\nA1=INI Files\\shared.ini\\Other\\Color\r\nC1=Green\r\nA2=INI Files\\shared.ini\\Own\\Key\r\nC2=mine\r\n'
machine_snapshot "$S/ini.before" "$C/SharedIni"; md5sum <"$C/windows/win.ini" >"$S/winini.before"
install "$S/inis.pkg"
check own-ini-written bash -c "[ $RC -eq 0 ] && grep -q '^Color=Green' '$C/SharedIni/shared.ini' && grep -q '^Mode=on' '$C/windows/win.ini'"
remove
machine_snapshot "$S/ini.after" "$C/SharedIni"
check own-ini-shared-file-as-before same_machine "$S/ini.before" "$S/ini.after" "$ALLOWED"
check own-ini-win-ini-as-before bash -c "md5sum <'$C/windows/win.ini' | cmp -s - '$S/winini.before'"
rm -rf "$C/SharedIni"

# ---- A link put in place of one of the product's folders is never followed --
# (a symbolic link in the prefix stands for a junction a standard user makes)
install "$S/plain.pkg"
mkdir -p "$C/Outside"; printf 'theirs' >"$C/Outside/guide.txt"
rm -rf "$C/OwnedDefault/docs"; ln -s "$C/Outside" "$C/OwnedDefault/docs"
remove
check own-link-removal-says-left-over test "$RC" -eq 1
check own-link-target-untouched test "$(cat "$C/Outside/guide.txt" 2>/dev/null)" = theirs
rm -rf "$C/Outside" "$C/OwnedDefault" "$C/windows/Installer/$CODE"
reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
# The same in a folder that was there (the run made neither it nor docs\),
# and for an INI file of the product replaced by a link to someone else's.
project "$S/linked" '[INIINFO]\r\nTOTAL=1\r\nA0=INI Files\\app.ini\r\nC0=<InstallDir>\r\n[INIDATA]\r\nTOTAL=1\r\nA0=INI Files\\app.ini\\Own\\Key\r\nC0=mine\r\n'
mkdir -p "$C/UserLinks/docs"
install "$S/linked.pkg" '/D=C:\UserLinks'
mkdir -p "$C/Outside"; printf 'theirs' >"$C/Outside/guide.txt"; printf '[Own]\r\nKey=mine\r\n' >"$C/Outside/their.ini"
rm -rf "$C/UserLinks/docs" "$C/UserLinks/app.ini"
ln -s "$C/Outside" "$C/UserLinks/docs"; ln -s "$C/Outside/their.ini" "$C/UserLinks/app.ini"
machine_snapshot "$S/linked.before" "$C/Outside"
remove
check own-link-in-found-folder-left-over test "$RC" -eq 1
machine_snapshot "$S/linked.after" "$C/Outside"
check own-link-in-found-folder-only-the-products-files-go same_machine "$S/linked.before" "$S/linked.after" \
  "$ALLOWED|\./UserLinks/(app\.txt|settings\.cfg)\$"
rm -rf "$C/Outside" "$C/UserLinks" "$C/windows/Installer/$CODE"
reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"

# ---- On another volume a replaced file waits in a folder of the run's own ---
# never in one that was there, whatever its name.
D=$S/ddrive; rm -rf "$D"; mkdir -p "$D/OwnedD" "$D/Rollback.$CODE"
ln -sfn "$D" "$WINEPREFIX/dosdevices/d:"
printf 'old app' >"$D/OwnedD/app.txt"; printf 'planted' >"$D/Rollback.$CODE/1_app.txt"
install "$S/stopped.pkg" "/LOG=$(zpath "$S/backup.log")" '/D=D:\OwnedD'
backup_line() { tr -d '\r' <"$S/backup.log" | grep -q "BACKUP=D:\\\\OwnedD\\\\app.txt|D:\\\\Rollback\\.$CODE\\.[0-9a-f]\\{16\\}\\\\b0\\\\1_app.txt$"; }
check own-backup-in-a-fresh-folder backup_line
check own-backup-original-back bash -c "[ $RC -eq 1 ] && [ \"\$(cat '$D/OwnedD/app.txt')\" = 'old app' ]"
check own-backup-planted-folder-untouched test "$(ls -A "$D/Rollback.$CODE")" = 1_app.txt
check own-backup-own-folder-gone bash -c "! ls -d '$D'/Rollback.*.* 2>/dev/null | grep -q ."
rm -f "$WINEPREFIX/dosdevices/d:"

# ---- An extension another program took over keeps its registration --------
project "$S/assoc" '[EXTCV]\r\nTOTAL=1\r\nB0=<InstallDir>app.exe\r\nC0=.cvown\r\nD0=CvOwn.Doc\r\nE0=Owned document\r\nG0=%1\r\n'
install "$S/assoc.pkg"
check own-assoc-installed holds 'HKCR\.cvown' '' CvOwn.Doc
reg_add 'HKCR\.cvown' /ve /d Other.Doc; reg_add 'HKCR\.cvown\OpenWithProgids' /v Other.Doc
remove
check own-assoc-removal-exit-0 test "$RC" -eq 0
check own-assoc-takeover-kept holds 'HKCR\.cvown' '' Other.Doc
check own-assoc-other-progids-kept holds 'HKCR\.cvown\OpenWithProgids' Other.Doc Other
check own-assoc-own-class-gone bash -c "! \"$WINE\" reg query 'HKCR\\CvOwn.Doc' >/dev/null 2>&1"
reg_delete 'HKCR\.cvown'

# ---- A rollback while a program holds the run's file ------------------------
# The original comes back (now, or at the next restart); no deletion at the
# restart is left to take it away.
cp -r "$S/stopped" "$S/held"; sed -i 's/^2=Yes\r$/2=No\r/' "$S/held/setup.inf"; pack_project "$S/held" "$S/held.pkg"
PENDING_KEY='HKLM\System\CurrentControlSet\Control\Session Manager'
reg_delete "$PENDING_KEY" /v PendingFileRenameOperations
mkdir -p "$C/OwnedHeld"; printf 'the original' >"$C/OwnedHeld/app.txt"
(cd "$S/held.pkg" && exec timeout -k 5 120 "$WINE" setup.exe '/D=C:\OwnedHeld') >/dev/null 2>&1 &
SETUP_PID=$!
THEME=$S/held.pkg/theme
on_page complete.lcd 30000
timeout 60 "$WINE" "$CV_WIN/tests/holdfile.exe" 'C:\OwnedHeld\app.txt' 30 >"$S/holder.txt" 2>/dev/null &
HOLDER=$!
eventually 20 grep -q HELD "$S/holder.txt"
click complete.lcd IDC_FINISH
wait_setup
kill $HOLDER 2>/dev/null; wait $HOLDER 2>/dev/null
check own-held-rollback-exit-1 test "$SETUP_RC" -eq 1
"$WINE" reg query "$PENDING_KEY" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' | sed 's/\\0/\n/g' >"$S/held.pending"
# A deletion is a source line followed by an empty target line.
deleted_at_restart() { awk -v p='\\??\\C:\\OwnedHeld\\app.txt' 'prev == p && $0 == "" { found = 1 } { prev = $0 } END { exit !found }' "$1"; }
not_deleted_at_restart() { ! deleted_at_restart "$1"; }
check own-held-original-not-deleted-at-restart not_deleted_at_restart "$S/held.pending"
# Back now, or waiting beside the held file (never in the uninstall folder,
# which the rollback removes) to take its place at the restart.
original_back() {
  [ "$(cat "$C/OwnedHeld/app.txt")" = 'the original' ] ||
    { grep -qi 'OwnedHeld.app\.txt$' "$S/held.pending" && [ "$(cat "$C/OwnedHeld/app.txt.restore")" = 'the original' ]; }
}
check own-held-original-back-or-coming original_back
reg_delete "$PENDING_KEY" /v PendingFileRenameOperations
rm -rf "$C/OwnedHeld"
