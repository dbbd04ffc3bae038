#!/usr/bin/env bash
# Web items downloaded by the file phase from a local HTTP server: the
# progress page's download bar and estimate during a throttled transfer, the
# digest and condition parts of the address, failed statuses answered from
# the dialog (Ignore goes on without the file, Cancel abandons the run),
# Cancel during a transfer deleting the partial file, an unattended run
# abandoned by a failed transfer, and files that were at the destinations:
# left by a failed transfer, put back by the rollback. Short, stalled and unsized bodies are tested
# in-process (tests/win/download_test.cpp).
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# The server: 1 MB/s, stopped when this script ends (and in any case after 150 s).
python3 "$CV_ROOT/tests/tools/httpserver.py" "$S/port" --rate 1000000 --limit 150 &
SERVER=$!
trap 'kill $SERVER 2>/dev/null; wait $SERVER 2>/dev/null' EXIT
for _ in $(seq 50); do [ -s "$S/port" ] && break; sleep 0.1; done
URL="http://127.0.0.1:$(cat "$S/port")"

CODE='{C0FFEE00-DOWN-TEST}'
DEST=$WINEPREFIX/drive_c/CorvaneDownload
settings() {  # [extra lines]
  printf '[APPINFO]\r\na1=Download Product\r\na2=1.0\r\na3=%s\r\na4=C:\\CorvaneDownload\r\n' "$CODE"
  printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b%b' "$ALL_SYSTEMS" "${1:-}"
}
record() { printf '%s\r\nDestination Computer\\<InstallDir>\\%s*0*0*1|\r\n' "$1" "$2"; }
project() {  # DIR SETTINGS <RECORDS: a packed project of web items in $S/DIR-pkg
  local P=$S/$1; mkdir -p "$P/theme"; cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
  settings "$2" >"$P/setup.inf"
  cat >"$P/data.inf"
  pack_project "$P" "$P-pkg"
}
BIG=3145728
SHA=$(python3 -c "import sys; sys.path.insert(0, '$CV_ROOT/tests/tools'); import httpserver, hashlib
print(hashlib.sha256(httpserver.pattern($BIG)).hexdigest())")
python3 -c "import sys; sys.path.insert(0, '$CV_ROOT/tests/tools'); import httpserver
sys.stdout.buffer.write(httpserver.pattern($BIG))" >"$S/expected.bin"

# ---- A throttled transfer shown on the progress page; failed statuses asked about ----
# "NeedsData" names no condition of the project: downloaded; "Never" does not hold.
{ record "$URL/$BIG.bin#sha256=$SHA{NeedsData}" 'data\'; record "$URL/1000.bin{Never}" ''
  record "$URL/status/404" ''; record "$URL/status/401" ''; } |
  project main '[CONDITIONS]\r\nTOTAL=1\r\nA0=Never\r\nB0=1\r\nC0===\r\nD0=2\r\nF0=0\r\n'
THEME=$S/main-pkg/theme
rm -rf "$DEST"
start_packed "$S/main-pkg" "$S/main.trace" 90
estimate_of() {  # TOTAL: the info line is an estimate for a file of TOTAL ("3\.00 MB")
  text_of progress.lcd IDC_INFO | grep -Eq "^Estimated time left: [0-9]+ (sec|min)( [0-9]+ sec)? \([0-9.]+ (Bytes|KB|MB) of $1 copied\) - [0-9.]+ (KB|Bytes)/Sec\$"
}
check downloads-progress-estimate-shown eventually 20 estimate_of '3\.00 MB'
text_of progress.lcd IDC_INFO >"$S/estimate.txt"
check downloads-progress-bar-shown state_has progress.lcd IDC_DOWNLOADPROGRESS visible
screenshot download-progress
# The whole file is in place by the time the first failed status is asked about.
drive wait-dialog 30000 >/dev/null
check downloads-whole-file-named-without-suffixes same_file "$S/expected.bin" "$DEST/data/$BIG.bin"
drive answer 30000 Ignore >"$S/404.box"
check downloads-404-asks message_is "$S/404.box" "Corvane can't download the file:\\r\\n$URL/status/404\\r\\nFailed to retrieve a HTTP 200 status, Status Code:404\\r\\nTry later or download using your browser and add this file to Corvane Folder."
drive answer 30000 Cancel >"$S/401.box"
check downloads-401-asks grep -qF 'Status Code:401' "$S/401.box"
check downloads-cancel-at-failure-error-page on_page setuperror.lcd 20000
check downloads-cancelled-run-rolled-back not_exists "$DEST/data/$BIG.bin"
check downloads-condition-not-holding-skips not_exists "$DEST/1000.bin"
check downloads-failed-leave-no-file not_exists "$DEST/404"
check downloads-failed-401-no-file not_exists "$DEST/401"
check downloads-logged-by-file-name grep -qF "$(trace_name kLogRecord)=FILE=C:\\CorvaneDownload\\data\\$BIG.bin" "$S/main.trace"
click setuperror.lcd IDOK
wait_setup

# ---- Cancel during a transfer: the partial file goes ------------------------------------
record "$URL/20000000.bin" '' | project slow ''
THEME=$S/slow-pkg/theme
rm -rf "$DEST"
start_packed "$S/slow-pkg" "$S/slow.trace" 90
check downloads-cancel-transfer-running eventually 20 estimate_of '19\.07 MB'
click progress.lcd IDCANCEL
drive answer 10000 OK >/dev/null
check downloads-cancel-complete-page on_page complete.lcd 20000
check downloads-cancel-deletes-partial-file not_exists "$DEST/20000000.bin"
click complete.lcd IDC_FINISH
wait_setup

# ---- Unattended: a failed transfer abandons the run without a dialog ------------------
record "$URL/status/404" '' | project quiet '[BUILDING]\r\n2=Yes\r\n'
rm -rf "$DEST"
start_packed "$S/quiet-pkg" "$S/quiet.trace" 60
no_dialog_until_done >"$S/quiet.seen"; noDialog=$?
wait_setup
check downloads-unattended-no-dialog earlier "$noDialog" "$S/quiet.seen"
check downloads-unattended-exit-1 test "$SETUP_RC" -eq 1
check downloads-unattended-no-file not_exists "$DEST/404"
check downloads-unattended-failure-logged grep -qF \
  "$(trace_name kDownloadFailed)=$URL/status/404: status 404: Failed to retrieve a HTTP 200 status, Status Code:404 Try later" \
  "$S/quiet.trace"

# ---- Files that were there: a failed transfer leaves them, a rollback puts back one replaced --
{ record "$URL/1000.bin" ''; record "$URL/status/404" ''; } | project over '[BUILDING]\r\n2=Yes\r\n'
rm -rf "$DEST"; mkdir -p "$DEST"; printf 'the original' >"$DEST/1000.bin"; printf 'the user file' >"$DEST/404"
start_packed "$S/over-pkg" "$S/over.trace" 60
wait_setup
check downloads-over-exit-1 test "$SETUP_RC" -eq 1
check downloads-over-failed-leaves-what-was-there test "$(cat "$DEST/404")" = 'the user file'
check downloads-over-replaced-file-back test "$(cat "$DEST/1000.bin")" = 'the original'
