#!/usr/bin/env bash
# The switches deployment tools pass, under Wine: the sample project installed
# with /S and /D= into a folder with a space and no window; the /LOG= log of
# that run and of a run abandoned at a copy error; /? and unknown switches;
# /D= taken as if typed on the destination page; the silent removal run from
# the registered QuietUninstallString with a /LOG= appended.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{7D3C2F1A-5B84-4E0F-9A61-2C8E5D4B7A90}'
UNINSTALL_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
OTHER=$WINEPREFIX/drive_c/Other\ Place
CAPTION='Brenmark Corvane'

# start_with PACKAGE ARGS...: setup.exe of PACKAGE with ARGS, no trace but
# what the arguments ask for. Time limit: 120 s.
start_with() {
  local dir=$1; shift
  (cd "$dir" && exec timeout -k 5 120 "$WINE" setup.exe "$@") >/dev/null 2>&1 &
  SETUP_PID=$!
}
log_has() { tr -d '\r' <"$1" | grep -qxF -- "$2" || { echo "missing: $2"; return 1; }; }
log_matches() { tr -d '\r' <"$1" | grep -qE -- "$2" || { echo "no line like: $2"; return 1; }; }

cp -r "$CV_ROOT/examples/sample" "$S/sample"
pack_project "$S/sample" "$S/pkg"
# A clean machine: no uninstall entry, and none of the product's own values an
# earlier script's run left under HKEY_CURRENT_USER.
rm -rf "$OTHER"; reg_delete "$UNINSTALL_KEY"; reg_delete 'HKCU\Software\Brenmark\Corvane Notes'
# The notes folder the sample reads from HKEY_CURRENT_USER, written by a user
# to break out of a command line: data, refused, the default taken.
HOSTILE='C:\Notes" & echo injected> C:\pwned.txt & rem "'
"$WINE" reg add 'HKCU\Software\Brenmark\Corvane Notes' /v NotesFolder /d "$HOSTILE" /f >/dev/null 2>&1

# ---- /S /D= /LOG=: the sample installed unattended into "Other Place" ----------------
# The folder comes unquoted, blanks and all, as the last switch.
start_with "$S/pkg" /S "/LOG=$(zpath "$S/quiet.log")" '/D=C:\Other' 'Place\Notes'
check switches-silent-no-window no_window_until_end
wait_setup
check switches-silent-exit-0 test "$SETUP_RC" -eq 0
check switches-hostile-variable-ran-nothing not_exists "$WINEPREFIX/drive_c/pwned.txt"
check switches-hostile-variable-refused log_matches "$S/quiet.log" '^variable value refused=<NotesFolder>=C:.Notes" & echo .*: it holds a double quote$'
check switches-silent-installed-there same_file "$S/sample/payload/notes.txt" "$OTHER/Notes/notes.txt"
check switches-silent-registered-there eval \
  '"$WINE" reg query "$UNINSTALL_KEY" /v InstallLocation 2>/dev/null | tr -d "\r" | grep -qF "C:\\Other Place\\Notes"'
L=$S/quiet.log
check switches-log-command-line log_matches "$L" "^$(trace_name kCommandLine)=.*/S .*/D=C:.Other Place.Notes$"
check switches-log-steps steps_in_order "$L" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 26
check switches-log-settings log_has "$L" "$(trace_name kProductName)=Corvane Notes"
check switches-log-unattended log_has "$L" "$(trace_name kUnattended)=255"
check switches-log-checks log_has "$L" 'system requirements=met'
check switches-log-folder log_has "$L" "$(trace_name kFolderFromCommandLine)=C:\\Other Place\\Notes\\"
check switches-log-pages log_has "$L" "$(trace_name kPage)=progress.lcd (hidden)"
check switches-log-actions log_has "$L" "$(trace_name kInstallAction)=InstallFiles"
check switches-log-targets log_has "$L" "$(trace_name kLogRecord)=FILE=C:\\Other Place\\Notes\\notes.txt"
check switches-log-exit-code log_has "$L" "$(trace_name kExitCode)=0"
# Names and values only: no section of the decrypted settings, no file list line.
check switches-log-no-project-files eval '! grep -qE "^\[(APPINFO|SETUPTYPE)\]|^Description0=|Destination Computer" "$L"'

# ---- The silent removal as a tool runs it: QuietUninstallString, log appended ----------
quiet=$("$WINE" reg query "$UNINSTALL_KEY" /v QuietUninstallString 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *QuietUninstallString *REG_SZ *//p')
printf '@%s /LOG=%s\r\n@exit /b %%ERRORLEVEL%%\r\n' "$quiet" "$(zpath "$S/remove.log")" >"$S/remove.bat"
timeout -k 5 120 "$WINE" cmd /c "$(zpath "$S/remove.bat")" >/dev/null 2>&1
check switches-quiet-uninstall-exit-0 test $? -eq 0
check switches-quiet-uninstall-removed not_exists "$OTHER/Notes/notes.txt"
check switches-quiet-uninstall-log-code log_has "$S/remove.log" "$(trace_name kUninstallProductCode)=$CODE"
check switches-quiet-uninstall-log-exit log_has "$S/remove.log" "$(trace_name kUninstallExitCode)=0"

# ---- A run abandoned at a copy error: the log names the path and the system's text -----
# A folder where notes.txt goes makes its copy fail.
mkdir -p "$OTHER/Blocked/notes.txt"
start_with "$S/pkg" "/LOG=$(zpath "$S/blocked.log")" /S '/D=C:\Other Place\Blocked'
wait_setup
check switches-copy-error-exit-1 test "$SETUP_RC" -eq 1
check switches-copy-error-logged log_matches "$S/blocked.log" \
  '^failed=(MoveFileExA|CopyFileA) .*F[0-9]+_notes\.txt -> C:\\Other Place\\Blocked\\notes\.txt: [A-Za-z][^()]* \([0-9]+\)$'
check switches-copy-error-exit-code-logged log_has "$S/blocked.log" "$(trace_name kExitCode)=1"
rm -rf "$OTHER"; reg_delete "$UNINSTALL_KEY"

# ---- /? and switches that are refused -------------------------------------------------
start_with "$S/pkg" /?
drive dialog 20000 "$CAPTION" >"$S/usage.box"
wait_setup
check switches-usage-box grep -q '^TEXT:Usage: setup.exe \[/S\] \[/LOG=<file>\] \[/D=<folder>\]' "$S/usage.box"
check switches-usage-lists-exit-codes grep -qF '\r\n5   the command line was refused\r\n' "$S/usage.box"
check switches-usage-exit-0 test "$SETUP_RC" -eq 0

start_with "$S/pkg" /VERYSILENT
drive dialog 20000 "$CAPTION" >"$S/unknown.box"
wait_setup
check switches-unknown-usage-box grep -q '^TEXT:The switch /VERYSILENT is not known.\\r\\n\\r\\nUsage: setup.exe' "$S/unknown.box"
check switches-unknown-exit-5 test "$SETUP_RC" -eq 5

start_with "$S/pkg" /S /qn "/LOG=$(zpath "$S/refused.log")"
check switches-unknown-silent-no-window no_window_until_end
wait_setup
check switches-unknown-silent-exit-5 test "$SETUP_RC" -eq 5
check switches-unknown-silent-logged log_has "$S/refused.log" "$(trace_name kCommandLineRefused)=The switch /qn is not known."
check switches-unknown-silent-nothing-started eval '! grep -q "^step 1:" "$S/refused.log"'

start_with "$S/pkg" /S '/D=Other Place'
check switches-bad-folder-silent-no-window no_window_until_end
wait_setup
check switches-bad-folder-silent-exit-5 test "$SETUP_RC" -eq 5

# /S after /D= still means no window: the folder it belongs to is refused.
start_with "$S/pkg" '/D=C:\App' /S
check switches-silent-after-folder-no-window no_window_until_end
wait_setup
check switches-silent-after-folder-exit-5 test "$SETUP_RC" -eq 5

start_with "$S/pkg" '/LOG=C:\No Such Folder\setup.log'
drive dialog 20000 "$CAPTION" >"$S/nolog.box"
wait_setup
check switches-log-not-written-box grep -qF 'TEXT:The log file:\n\nC:\No Such Folder\setup.log\n\ncannot be written: ' "$S/nolog.box"
check switches-log-not-written-exit-5 test "$SETUP_RC" -eq 5
# The uninstaller refuses it too, before it looks for the product (which would end with 3).
timeout -k 5 60 "$WINE" "$CV_WIN/src/cvexec.exe" /S Corvane Not Installed '/LOG=C:\No Such Folder\x.log' >/dev/null 2>&1
check switches-uninstall-log-not-written-exit-4 test $? -eq 4

# /S is known before the project files: a missing project ends with 4 and no box.
mkdir -p "$S/empty"; cp "$S/pkg/setup.exe" "$S/empty/"
start_with "$S/empty" /S
check switches-silent-missing-project-no-window no_window_until_end
wait_setup
check switches-silent-missing-project-exit-4 test "$SETUP_RC" -eq 4
# An elevated setup (every process under Wine) takes no file name from the
# environment a standard user sets.
(cd "$S/empty" && CVSETUP_TRACE="$(zpath "$S/chosen-by-user.txt")" exec timeout -k 5 60 "$WINE" setup.exe /S) >/dev/null 2>&1
check switches-elevated-ignores-trace-variable not_exists "$S/chosen-by-user.txt"

# Started by its full path from a folder without a project: the project beside
# the program is the one it runs.
(cd "$S/empty" && exec timeout -k 5 120 "$WINE" "$(zpath "$S/pkg")\\setup.exe" /S '/D=C:\Other Place\Afar') >/dev/null 2>&1
check switches-started-from-elsewhere-exit-0 test $? -eq 0
check switches-started-from-elsewhere-installed same_file "$S/sample/payload/notes.txt" "$OTHER/Afar/notes.txt"
timeout -k 5 60 "$WINE" 'C:\windows\cvexec.exe' /S "$CODE" >/dev/null 2>&1

# ---- /D= in an interactive run: the destination page shows it --------------------------
sed -i 's/^METHOD=.*/METHOD=None/' "$S/sample/setup.inf"
pack_project "$S/sample" "$S/walk"
THEME=$S/walk/theme
start_with "$S/walk" '/D=C:\Other Place\Typed'
on_page welcome.lcd && click welcome.lcd IDC_NEXT
on_page license.lcd && click license.lcd IDC_ACCEPTLICENSE && sleep 0.2 && click license.lcd IDC_NEXT
on_page customer.lcd && click customer.lcd IDC_NEXT
check switches-folder-on-destination-page eventually 20 text_is destination.lcd IDC_INSTALLDIR 'C:\Other Place\Typed\'
screenshot destination-from-switch
click destination.lcd IDCANCEL
drive answer 10000 OK >/dev/null
on_page complete.lcd && click complete.lcd IDC_FINISH
wait_setup
check switches-interactive-cancelled-exit-1 test "$SETUP_RC" -eq 1
rm -rf "$OTHER"
