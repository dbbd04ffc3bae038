#!/usr/bin/env bash
# Removal under Wine with the real uninstaller: a project of every kind
# installed and removed silently leaves the machine as it found it (file tree
# and registry compared before and after), the association and the variable
# that were there before intact; a setup killed during its file phase is
# removed as far as it got; a file in use goes at the next restart.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
source "$CV_ROOT/tests/lib_full_project.sh"

CODE=$FULL_CODE
DEST=$WINEPREFIX/drive_c/CorvaneFull/App
CVEXEC='C:\windows\cvexec.exe'
UNINSTALL_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
# remove MODE: runs the uninstaller of the Windows folder on the product; its exit code in RC.
remove() {
  timeout -k 5 120 "$WINE" "$CVEXEC" "$1" $CODE >/dev/null 2>&1; RC=$?
}
# snapshot NAME: the file tree of drive C: and the registry keys an
# installation touches, into $S/NAME.files and $S/NAME.reg (Wine's own keys left out).
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./users/root/Temp -prune -o -path ./windows/temp -prune \
    -o -path ./windows/Installer -prune -o -print | LC_ALL=C sort) >"$S/$1.files"
  : >"$S/$1.reg"
  local key
  for key in 'HKEY_CURRENT_USER\Software' 'HKEY_CURRENT_USER\Environment' 'HKEY_LOCAL_MACHINE\Software\Classes' \
    'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services' \
    'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\Environment' \
    'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
    "$WINE" regedit /e "$(zpath "$S/export.reg")" "$key" >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$S/export.reg" | tr -d '\r' |
      awk '/^\[/ { skip = ($0 ~ /^\[HKEY_CURRENT_USER\\Software\\Wine/) } !skip' >>"$S/$1.reg"
  done
}
differs_only_by() {  # NAME-A NAME-B ALLOWED-REGEX: the listings differ in allowed lines only
  diff "$S/$1.files" "$S/$2.files" | grep '^[<>]' | grep -vE "$3" && return 1
  diff "$S/$1.reg" "$S/$2.reg" && return 0
}
full_project_cleanup
# What the machine has before: an association and a variable the project changes.
reg_add 'HKCR\.cvold' /ve /d CorvaneOld.File
reg_add 'HKCR\CorvaneOld.File' /ve /d 'Old file'
reg_add 'HKCR\CorvaneOld.File\shell\open\command' /ve /t REG_EXPAND_SZ /d '"%SystemRoot%\old.exe" "%1"'
# The variable holds items outside the Western code page the setup runs
# under: they must come back exactly, after the install and the removal.
KEEP='%SystemRoot%;C:\Users\Łukasz\bin;C:\Пример;C:\Keep'
# keep_reg TEXT: a registry file (UTF-16, as regedit writes) setting CVFULL_KEEP
# to TEXT, and the value the project overwrites to a text of the same kind
# (the removal puts it back).
keep_reg() {
  python3 - "$1" <<'PY' >"$S/keep.reg"
import sys
data = (sys.argv[1] + "\0").encode("utf-16-le")
text = ('Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Environment]\r\n'
        '"CVFULL_KEEP"=hex(2):' + ",".join("%02x" % b for b in data) + '\r\n\r\n'
        '[HKEY_CURRENT_USER\\Software\\CorvaneFull]\r\n"Path"="C:\\\\Users\\\\Łukasz\\\\Пример"\r\n')
sys.stdout.buffer.write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
}
# keep_value: CVFULL_KEEP as the registry holds it, in UTF-8.
keep_value() {
  "$WINE" regedit /e "$(zpath "$S/keep-now.reg")" 'HKEY_CURRENT_USER\Environment' >/dev/null 2>&1
  python3 - "$S/keep-now.reg" <<'PY'
import re, sys
text = open(sys.argv[1], "rb").read().decode("utf-16").replace("\\\r\n", "").replace(" ", "")
m = re.search(r'"CVFULL_KEEP"=hex\(2\):([0-9a-f,]*)', text)
if m: print(bytes(int(h, 16) for h in m.group(1).split(",") if h).decode("utf-16-le").rstrip("\0"))
PY
}
keep_reg "$KEEP"
"$WINE" regedit /s "$(zpath "$S/keep.reg")" >/dev/null 2>&1
check removal-variable-set-before test "$(keep_value)" = "$KEEP"

P=$S/full; full_project "$P" takeover
pack_project "$P" "$S/pkg"
snapshot before
start_packed "$S/pkg" "$S/install.trace" 90
wait_setup
check removal-installed-exit-0 test "$SETUP_RC" -eq 0
check removal-installed-files test -f "$DEST/ro.txt" -a -f "$DEST/docs/guide.txt"
check removal-association-taken-over eval '"$WINE" reg query "HKCR\\CorvaneOld.File" /ve | grep -q "Taken over"'
check removal-variable-appended-exactly test "$(keep_value)" = "$KEEP;C:\\CorvaneFull\\App\\bin"

remove /S
check removal-silent-exit-0 test "$RC" -eq 0
# The uninstall folder goes whole, with the uninstall-time program's copy in it.
check removal-uninstall-folder-gone not_exists "$WINEPREFIX/drive_c/windows/Installer/$CODE"
snapshot after
# The uninstaller stays for other products; the permanent file and its folders stay.
check removal-machine-as-before differs_only_by before after \
  '\./windows/cvexec\.exe$|\./CorvaneFull$|\./CorvaneFull/App$|\./CorvaneFull/App/kept\.txt$'
check removal-association-restored eval '"$WINE" reg query "HKCR\\CorvaneOld.File\\shell\\open\\command" /ve | grep -q "REG_EXPAND_SZ    \"%SystemRoot%\\\\old.exe\" \"%1\""'
check removal-variable-rest-intact eval '[ "$(keep_value)" = "$KEEP" ] && "$WINE" reg query "HKCU\\Environment" /v CVFULL_KEEP | grep -q REG_EXPAND_SZ'
reg_delete 'HKCR\.cvold'; reg_delete 'HKCR\CorvaneOld.File'; reg_delete 'HKCU\Environment' /v CVFULL_KEEP

# ---- A setup killed during its file phase, then removed ---------------------------
MANY=$S/many; mkdir -p "$MANY/DiskImage1" "$MANY/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$MANY/theme/"
(cd "$MANY/DiskImage1" && for i in $(seq 0 2999); do printf x >"F${i}_f$i.txt"; done)
awk 'BEGIN { for (i = 0; i < 3000; i++)
  printf "f%d.txt\r\nDestination Computer\\<InstallDir>\\part\\%d\\*0*0*1|\r\n", i, i % 10 }' >"$MANY/data.plain"
printf '[APPINFO]\r\na1=Killed\r\na3=%s\r\na4=%s\r\n[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b' \
  "$CODE" "$FULL_DEST" "$ALL_SYSTEMS" >"$MANY/setup.plain"
"$CVPACK" encrypt "$MANY/setup.plain" "$MANY/setup.nsx" && "$CVPACK" encrypt "$MANY/data.plain" "$MANY/data.nsx"
full_project_cleanup
snapshot before-killed
start_setup "$MANY" "$S/killed.trace"
eventually 60 test -f "$DEST/part/5/f1005.txt"
"$WINE" taskkill /f /im setup.exe >/dev/null 2>&1
wait_setup
check removal-killed-left-files test -n "$(find "$DEST/part" -type f | head -n 1)"
remove /S
check removal-killed-exit-0 test "$RC" -eq 0
snapshot after-killed
check removal-killed-nothing-left differs_only_by before-killed after-killed 'never matches^'

# ---- A file in use goes at the next restart ----------------------------------------
full_project_cleanup
start_packed "$S/pkg" "$S/inuse.trace" 90
wait_setup
timeout 60 "$WINE" "$CV_WIN/tests/holdfile.exe" "$(win_path "$DEST/app.txt")" 30 >"$S/held.txt" 2>/dev/null &
HOLDER=$!
eventually 20 grep -q HELD "$S/held.txt"
remove /S
# Wine hands the shell the low byte of the exit code 3010.
check removal-in-use-exit-restart test "$RC" -eq $((3010 % 256))
"$WINE" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
  2>/dev/null | tr -d '\r' | sed 's/\\0/\n/g' >"$S/pending.txt"
check removal-in-use-scheduled grep -qix '.*CorvaneFull.App.app\.txt' "$S/pending.txt"
# The folders it leaves empty go after it.
check removal-in-use-folders-scheduled bash -c "grep -A10 -i 'App.app\.txt' '$S/pending.txt' | grep -qix '.*C:.CorvaneFull'"
kill $HOLDER 2>/dev/null; wait $HOLDER 2>/dev/null
reg_delete 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations
full_project_cleanup
