#!/usr/bin/env bash
# The uninstaller cvexec.exe under Wine, driven from outside. Products are
# installed unattended from packed projects (cvpack ships the uninstaller),
# then removed: through the theme's page (/R), through the built-in dialog,
# silently (/S, also as the setup starts it), through maintenance (/M); a
# missing log; product codes with spaces. What a removal takes off the
# machine is the undo steps' matter; these checks are about the flow.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

UNINSTALL_KEYS='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
WINDIR=$WINEPREFIX/drive_c/windows
CVEXEC=$WINDIR/cvexec.exe
# The uninstaller's boxes are titled with the name the product registered
# (one uninstaller serves every product), or "Uninstall" before one is known.
NEUTRAL='Uninstall'
THEMED='Corvane Un Test {1}'   # ships its theme to the uninstall folder
PLAIN='Corvane Un Plain'       # no theme there: the built-in dialog; NoRemove
QUIET='Corvane Un Quiet'       # removed silently

# settings NAME CODE [LINES]: an unattended project's setup.inf.
settings() {
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'
  printf '[APPINFO]\r\na1=%s\r\na2=1.5\r\na3=%s\r\na4=C:\\CorvaneUn\\%s\r\n%b' "$1" "$2" "$1" "${3:-}"
}
# install NAME CODE [LINES]: packs and installs a one-file project; the
# message file localises the removal question.
install() {
  local p=$S/$1
  mkdir -p "$p/payload" "$p/theme"
  cp "$CV_ROOT"/examples/sample/theme/* "$p/theme/"
  printf 'one' >"$p/payload/one.txt"
  printf 'payload\\one.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$p/data.inf"
  printf '[REQ]\r\nU4=Remove <ProductName> now?\r\n' >"$p/language.lan"
  settings "$1" "$2" "${3:-}" >"$p/setup.inf"
  pack_project "$p" "$S/$1-pkg"
  start_packed "$S/$1-pkg" "$S/$1.trace" 60
  wait_setup
}
# start_cvexec ARGS...: starts the installed uninstaller with a trace.
start_cvexec() {
  rm -f "$S/cvexec.trace"
  timeout -k 5 60 "$WINE" "$CVEXEC" "/LOG=$(zpath "$S/cvexec.trace")" "$@" >/dev/null 2>&1 &
  CVEXEC_PID=$!
}
wait_cvexec() { wait "$CVEXEC_PID"; CVEXEC_RC=$?; }
run_cvexec() { start_cvexec "$@"; wait_cvexec; }
registered() { "$WINE" reg query "$UNINSTALL_KEYS\\$1" >/dev/null 2>&1; }
log_of() { echo "$WINDIR/Installer/$1/uninstall.log"; }
records_in() { grep -c . "$(log_of "$1")"; }

for code in "$THEMED" "$PLAIN" "$QUIET"; do reg_delete "$UNINSTALL_KEYS\\$code"; done
install themed "$THEMED" 'a10=Yes\r\n'
check uninstaller-themed-installed test "$SETUP_RC" -eq 0
check uninstaller-shipped-by-cvpack same_file "$CV_WIN/src/cvexec.exe" "$CVEXEC"
install plain "$PLAIN" 'a16=Yes\r\n'
check uninstaller-plain-installed test "$SETUP_RC" -eq 0
install quiet "$QUIET"

# ---- /R through the theme's page; the code, spaces and all, unquoted -------------
THEME="$WINDIR/Installer/$THEMED/theme"
start_cvexec /R $THEMED
check uninstaller-page-shown on_page uninstall.lcd
check uninstaller-code-with-spaces test "$(trace_value "$S/cvexec.trace" kUninstallProductCode)" = "$THEMED"
check uninstaller-page-question-localised text_is uninstall.lcd IDC_STATIC1 'Remove themed now?'
check uninstaller-page-yes-button text_is uninstall.lcd IDYES 'Yes'
screenshot themed-question
# No leaves without removing.
check uninstaller-page-no-button text_is uninstall.lcd IDNO 'No'
click uninstall.lcd IDNO
wait_cvexec
check uninstaller-page-declined-exit-5 test "$CVEXEC_RC" -eq 5

# As the setup starts it (no program name, "/S" quoted): a new installation of
# the same product removes the earlier one first and waits for it.
install again "$THEMED" 'a10=Yes\r\na26=New Installation\r\na29=Yes\r\n'
check uninstaller-setup-form-code test "$(trace_value "$S/again.trace" kUninstallProductCode)" = "$THEMED"
check uninstaller-setup-form-exit-0 test "$(trace_value "$S/again.trace" kUninstallExitCode)" = 0

RECORDS=$(records_in "$THEMED")
# The removal takes the uninstall folder with the theme: the driver reads
# the page's layout from a copy.
rm -rf "$S/theme-copy"; cp -r "$THEME" "$S/theme-copy"; THEME=$S/theme-copy
start_cvexec /R $THEMED
on_page uninstall.lcd
click uninstall.lcd IDYES
drive wait-dialog 20000 >"$S/themed.box"
check uninstaller-page-closing-message message_is "$S/themed.box" 'again was removed from your computer.'
check uninstaller-page-bar-full test "$(drive range "$(layout uninstall.lcd)" IDC_PROGRESS1)" = \
  "RANGE:$RECORDS POS:$RECORDS"
check uninstaller-page-buttons-off state_has uninstall.lcd IDYES disabled
check uninstaller-page-shows-outcome text_is uninstall.lcd IDC_INSTALLINFO 'again was removed from your computer.'
screenshot themed-closing
drive dialog 20000 again >"$S/themed-closing.box"
check uninstaller-box-titled-with-product grep -qx 'TITLE:again' "$S/themed-closing.box"
wait_cvexec
check uninstaller-page-exit-0 test "$CVEXEC_RC" -eq 0

# ---- /S: no window, exit codes ------------------------------------------------------
run_cvexec /S $QUIET
check uninstaller-silent-registered-exit-0 test "$CVEXEC_RC" -eq 0
run_cvexec /S Corvane Not Installed
check uninstaller-silent-unknown-exit-3 test "$CVEXEC_RC" -eq 3
run_cvexec /S
check uninstaller-silent-no-code-exit-4 test "$CVEXEC_RC" -eq 4
start_cvexec /R ..\\..\\System32
drive dialog 10000 "$NEUTRAL" >"$S/bad-code.box"
wait_cvexec
check uninstaller-bad-code-box-neutral-title grep -qx "TITLE:$NEUTRAL" "$S/bad-code.box"
check uninstaller-bad-code-exit-4 test "$CVEXEC_RC" -eq 4

# ---- /M: choices the registration allows ---------------------------------------------
start_cvexec /M $PLAIN
drive wait-dialog 20000 >/dev/null
screenshot maintenance
check uninstaller-maintenance-no-remove-choice test "$(drive answer 3000 Remove)" = NOTFOUND
drive answer 10000 Cancel >/dev/null
wait_cvexec
check uninstaller-maintenance-left-exit-5 test "$CVEXEC_RC" -eq 5

# Repair runs the setup the product keeps in its uninstall folder (without
# the cabinet), taking the cabinet from the folder it was installed from
# only while it is the one installed; a setup.exe planted there never runs.
CACHE="$WINDIR/Installer/$PLAIN/Setup"
check uninstaller-setup-kept-without-its-cabinet bash -c \
  "[ -f '$CACHE/setup.exe' ] && [ -f '$CACHE/setup.nsx' ] && [ -f '$CACHE/file1.cab.sha256' ] && [ ! -e '$CACHE/file1.cab' ]"
cp "$CV_WIN/tests/recordrun.exe" "$S/plain-pkg/setup.exe"
start_cvexec /M $PLAIN
drive answer 20000 Repair >/dev/null
wait_cvexec
check uninstaller-maintenance-repair-exit-0 test "$CVEXEC_RC" -eq 0
check uninstaller-repair-runs-the-kept-setup eventually 60 grep -q "^$(trace_name kExitCode)=0" "$S/cvexec.trace"
check uninstaller-repair-cabinet-as-installed same_file "$S/plain-pkg/file1.cab" "$CACHE/file1.cab"
check uninstaller-repair-planted-setup-never-run not_exists "$S/plain-pkg/setup.exe.calls.txt"
# A cabinet changed since is refused: nothing runs.
rm -f "$CACHE/file1.cab"; printf 'changed' >>"$S/plain-pkg/file1.cab"
start_cvexec /M $PLAIN
drive answer 20000 Repair >/dev/null
drive dialog 20000 plain >"$S/repair-refused.box"
wait_cvexec
check uninstaller-repair-changed-cabinet-refused bash -c "[ $CVEXEC_RC -eq 6 ] && [ ! -e '$CACHE/file1.cab' ]"

# ---- /R through the built-in dialog; a log line of an unknown kind -----------------
printf 'NEWKIND=something new\r\n' >>"$(log_of "$PLAIN")"
start_cvexec /R $PLAIN
drive wait-dialog 20000 >/dev/null
screenshot plain-question
drive answer 20000 Yes >"$S/plain-question.box"
check uninstaller-dialog-question message_is "$S/plain-question.box" 'Remove plain now?'
drive dialog 20000 plain >"$S/plain.box"
wait_cvexec
check uninstaller-dialog-closing-lists-skipped-line message_is "$S/plain.box" \
  "plain was removed, but not completely.\\r\\n\\r\\nThese lines of the uninstall log are of a kind this uninstaller does not know; what they name was left alone:\\r\\nNEWKIND=something new"
check uninstaller-dialog-skipped-line-exit-1 test "$CVEXEC_RC" -eq 1

# ---- A missing log: nothing removed; the entry goes only when the user says so ------
mv "$(log_of "$PLAIN")" "$S/plain.log"
run_cvexec /S $PLAIN
check uninstaller-silent-log-missing-exit-3 test "$CVEXEC_RC" -eq 3
check uninstaller-silent-log-missing-keeps-entry registered "$PLAIN"
start_cvexec /R $PLAIN
drive answer 20000 No >"$S/missing.box"
wait_cvexec
check uninstaller-log-missing-reported grep -qF 'The uninstall log of plain is missing' "$S/missing.box"
check uninstaller-log-missing-exit-3 test "$CVEXEC_RC" -eq 3
check uninstaller-log-missing-no-keeps-entry registered "$PLAIN"
start_cvexec /R $PLAIN
drive answer 20000 Yes >/dev/null
wait_cvexec
not_registered() { ! registered "$1"; }
check uninstaller-log-missing-yes-removes-entry not_registered "$PLAIN"

# Later scripts start from a machine without these products.
for code in "$THEMED" "$PLAIN" "$QUIET"; do
  reg_delete "$UNINSTALL_KEYS\\$code"; rm -rf "$WINDIR/Installer/$code"
done
rm -rf "$WINEPREFIX/drive_c/CorvaneUn" "$CVEXEC"
