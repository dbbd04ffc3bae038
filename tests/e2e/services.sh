#!/usr/bin/env bash
# NT services under Wine: services created with their fields and logged once;
# a refused service (one that exists) answered Retry, Ignore and Cancel from
# the dialog, Cancel ending on the setup error page after the remaining
# actions, which are then rolled back; an unattended run answering Cancel
# without a dialog (exit code 1), rolled back too;
# services created in a preview run; a silent version 2 changes the
# product's own service in place, a failed one gives it its settings back.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-SVC-TEST}'
LOG=$WINEPREFIX/drive_c/windows/Installer/$CODE/uninstall.log
SVCQUERY="$CV_WIN/tests/svcquery.exe"
NEW=cvtest_svc_new TAKEN=cvtest_svc_taken LAST=cvtest_svc_last QUIET=cvtest_svc_quiet PREVIEWED=cvtest_svc_preview
UPGRADED=cvtest_svc_upgraded
ALL="$NEW $TAKEN $LAST $QUIET $PREVIEWED $UPGRADED"

delete_service() { timeout 20 "$WINE" sc delete "$1" >/dev/null 2>&1; }
delete_all() { for n in $ALL; do delete_service "$n"; done; }
# The service TAKEN exists before the run, so creating it again fails.
occupy() { timeout 20 "$WINE" sc create "$1" binPath= 'C:\occupied.exe' >/dev/null 2>&1; }
query() { timeout 20 "$WINE" "$SVCQUERY" "$1" 2>/dev/null | tr -d '\r'; }
field_is() { local got; got=$(query "$1" | sed -n "s/^$2=//p"); [ "$got" = "$3" ] || { echo "$2: $got"; return 1; }; }
service_absent() { [ -z "$(query "$1")" ]; }
log_count() { tr -d '\r' <"$LOG" | grep -cx "NTSERVICE=$1"; }
logged_once() { [ "$(log_count "$1")" -eq 1 ]; }
not_logged() { [ "$(log_count "$1")" -eq 0 ]; }
entry() {  # INDEX NAME TYPE START ERROR COMMAND: one NTSERVICE entry
  printf 'A%s=%s\r\nB%s=%s Service\r\nC%s=%s\r\nD%s=%s\r\nE%s=%s\r\nF%s=%s\r\n' \
    "$1" "$2" "$1" "$2" "$1" "$3" "$1" "$4" "$1" "$5" "$1" "$6"
}
own() { entry "$1" "$2" SERVICE_WIN32_OWN_PROCESS SERVICE_DEMAND_START SERVICE_ERROR_NORMAL 'C:\svc.exe'; }
# project NAME APPINFO_EXTRA OTHER_SECTIONS NTSERVICE_BODY: a packed project in $S/NAME-pkg
project() {
  local p=$S/$1; mkdir -p "$p/payload" "$p/theme"
  cp "$CV_ROOT"/examples/sample/theme/* "$p/theme/"
  printf 'one' >"$p/payload/one.txt"
  printf 'payload\\one.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$p/data.inf"
  { printf '[APPINFO]\r\na1=Service Product\r\na2=1.0\r\na3=%s\r\na4=C:\\CorvaneServices\r\n%b' "$CODE" "$2"
    printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
    printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n%b' "$3"
    printf '[NTSERVICE]\r\n'; printf '%s' "$4"; } >"$p/setup.inf"
  pack_project "$p" "$S/$1-pkg"
}
QUESTION='Corvane can'\''t install %s Service service. What do you want to do ?'
asked_about() { message_is "$1" "$(printf "$QUESTION" "$2")"; }

delete_all

# ---- Interactive: created, then a refusal answered Retry, Ignore and Cancel ----
# Entries: NEW; TAKEN (Retry twice, freed before the second); NEW again
# (Ignore); NEW again (Cancel); LAST, still created after the Cancel.
project dialog '' '' "$(printf 'TOTAL=5\r\n'
  entry 0 $NEW SERVICE_WIN32_OWN_PROCESS SERVICE_AUTO_START SERVICE_ERROR_CRITICAL '"<InstallDir>bin\svc.exe" -service'
  own 1 $TAKEN; own 2 $NEW; own 3 $NEW
  entry 4 $LAST SERVICE_WIN32_SHARE_PROCESS SERVICE_DISABLED SERVICE_ERROR_IGNORE 'C:\last.exe')"
occupy $TAKEN
THEME=$S/dialog-pkg/theme
start_packed "$S/dialog-pkg" "$S/dialog.trace" 60
drive answer 30000 Retry >"$S/retry1.box"
check services-failure-text asked_about "$S/retry1.box" $TAKEN
# The second question waits on screen while the name is freed: the Retry
# that answers it creates the service.
drive wait-dialog 10000 >"$S/retry2.box"
check services-retry-asks-again grep -qF "install $TAKEN Service" "$S/retry2.box"
delete_service $TAKEN
drive answer 10000 Retry >/dev/null
drive answer 10000 Ignore >"$S/ignore.box"
check services-ignore-asked-for-next asked_about "$S/ignore.box" $NEW
# What the run made so far, while the Cancel question waits.
drive wait-dialog 10000 >"$S/cancel.box"
check services-cancel-asked asked_about "$S/cancel.box" $NEW
check services-created-type field_is $NEW TYPE 16
check services-created-start-type field_is $NEW START 2
check services-created-error-control field_is $NEW ERROR 3
check services-created-command-line field_is $NEW BINARY '"C:\CorvaneServices\bin\svc.exe" -service'
check services-created-display-name field_is $NEW DISPLAY "$NEW Service"
check services-created-logged-once logged_once $NEW
check services-retry-created field_is $TAKEN BINARY 'C:\svc.exe'
check services-retry-logged-once logged_once $TAKEN
drive answer 10000 Cancel >/dev/null
check services-cancel-shows-error-page on_page setuperror.lcd 20000
check services-cancel-sets-abort-flag grep -q 'abort flag=255' "$S/dialog.trace"
# The remaining actions ran (LAST was created, the product registered), then
# the whole run was rolled back.
check services-after-cancel-created grep -qF 'install action=RegisterUninstall' "$S/dialog.trace"
check services-cancel-rolled-back eval 'service_absent $NEW && service_absent $TAKEN && service_absent $LAST'
check services-cancel-run-goes-on-to-the-end not_exists "$(working_folder "$S/dialog.trace")"
check services-cancel-run-registration-rolled-back eval '! "$WINE" reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE" >/dev/null 2>&1'
check services-cancel-run-log-rolled-back not_exists "$LOG"
click setuperror.lcd IDCANCEL
wait_setup
check services-error-page-ends-setup-exit-1 test "$SETUP_RC" -eq 1

# ---- Unattended: no dialog, the refusal counts as Cancel, exit code 1 ----------------
project quiet '' '[BUILDING]\r\n2=Yes\r\n' "$(printf 'TOTAL=2\r\n'; own 0 $QUIET; own 1 $TAKEN)"
occupy $TAKEN
start_packed "$S/quiet-pkg" "$S/quiet.trace" 60
no_dialog_until_done >"$S/quiet.seen"; noDialog=$?
wait_setup
check services-unattended-no-dialog earlier "$noDialog" "$S/quiet.seen"
check services-unattended-exit-1 test "$SETUP_RC" -eq 1
# QUIET was created and went with the rollback; the service that was there stays.
check services-unattended-goes-on grep -qF 'install action=RegisterUninstall' "$S/quiet.trace"
check services-unattended-rolled-back service_absent $QUIET
check services-unattended-refused-kept field_is $TAKEN BINARY 'C:\occupied.exe'
check services-unattended-working-folder-removed not_exists "$(working_folder "$S/quiet.trace")"

# ---- Preview: services are still created and logged --------------------------------
rm -rf "$WINEPREFIX/drive_c/CorvaneServices"
project preview 'PREVIEW=255\r\n' '[BUILDING]\r\n2=Yes\r\n' "$(printf 'TOTAL=1\r\n'; own 0 $PREVIEWED)"
start_packed "$S/preview-pkg" "$S/preview.trace" 60
wait_setup
check services-preview-exit-0 test "$SETUP_RC" -eq 0
check services-preview-created field_is $PREVIEWED TYPE 16
check services-preview-logged logged_once $PREVIEWED
check services-preview-no-files not_exists "$WINEPREFIX/drive_c/CorvaneServices/one.txt"

# ---- Version 2 over version 1, silently: the product's own service changes ----
# in place; a failed version 2 gives it its settings back; the removal deletes it.
reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
rm -rf "$WINEPREFIX/drive_c/windows/Installer/$CODE"
STOP='[CONDITIONS]\r\nTOTAL=1\r\nA0=Stop\r\nB0=1\r\nC0===\r\nD0=1\r\nE0=After Click Finish Button\r\nF0=1\r\n00=CancelInstall();\r\n'
upgraded() { entry 0 $UPGRADED SERVICE_WIN32_OWN_PROCESS "$1" SERVICE_ERROR_NORMAL "$2"; }
project v1 '' '[BUILDING]\r\n2=Yes\r\n' "$(printf 'TOTAL=1\r\n'; upgraded SERVICE_DEMAND_START 'C:\v1.exe')"
project v2 '' '[BUILDING]\r\n2=Yes\r\n' "$(printf 'TOTAL=1\r\n'; upgraded SERVICE_AUTO_START 'C:\v2.exe')"
project v2fails '' "[BUILDING]\r\n2=Yes\r\n$STOP" "$(printf 'TOTAL=1\r\n'; upgraded SERVICE_AUTO_START 'C:\v2.exe')"
quietly() { start_packed "$S/$1-pkg" "$S/$1.trace" 60; wait_setup; }
quietly v1
check services-upgrade-v1-created field_is $UPGRADED BINARY 'C:\v1.exe'
quietly v2fails
check services-upgrade-failed-v2-exit-1 test "$SETUP_RC" -eq 1
check services-upgrade-failed-v2-settings-back eval 'field_is $UPGRADED BINARY "C:\\v1.exe" && field_is $UPGRADED START 3'
quietly v2
check services-upgrade-silent-exit-0 test "$SETUP_RC" -eq 0
check services-upgrade-changed-in-place eval 'field_is $UPGRADED BINARY "C:\\v2.exe" && field_is $UPGRADED START 2'
timeout 60 "$WINE" 'C:\windows\cvexec.exe' /S "$CODE" >/dev/null 2>&1; RC=$?
check services-upgrade-removal-deletes-it eval '[ $RC -eq 0 ] && service_absent $UPGRADED'

delete_all
check services-test-services-deleted service_absent $NEW
reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
