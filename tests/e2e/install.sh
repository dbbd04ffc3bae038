#!/usr/bin/env bash
# The installation engine under Wine: a packed project installed file by file
# (contents, attributes, uninstall log), the per-file rules, copy errors
# answered with Retry, Ignore and Cancel, a critical file, a cancel during the
# copy, and a 20 000-record project's progress range.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-INST-TEST}'
LOG=$WINEPREFIX/drive_c/windows/Installer/$CODE/uninstall.log
DEST=$WINEPREFIX/drive_c/CorvaneInstall/App
settings() {  # PAGES [extra APPINFO/other lines]: a project's setup.inf
  printf '[APPINFO]\r\na1=Install Product\r\na2=3.1\r\na3=%s\r\na4=C:\\CorvaneInstall\\App\r\n' "$CODE"
  printf '[DIALOGLIST]\r\n%b' "$1"
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'
  printf '%b' "${2:-}"
}
UNATTENDED_PAGES='TOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
record() {  # SOURCE DESTDIR FLAGS [OSMASK]: one data.inf record
  printf '%s\r\nDestination Computer\\<InstallDir>\\%s*%s*%s*1|\r\n' "$1" "$2" "$3" "${4:-0}"
}
attributes() { "$WINE" cmd /c attrib "$(win_path "$1")" 2>/dev/null | tr -d '\r' | cut -c1-10; }
has_attr() { attributes "$1" | grep -q "$2"; }
lacks_attr() { ! has_attr "$@"; }
log_lines() { tr -d '\r' <"$LOG"; }

# ---- A full unattended install, checked file by file ------------------------------
P=$S/full; mkdir -p "$P/payload" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'plain' >"$P/payload/a.txt"
printf 'read only' >"$P/payload/ro.txt"
printf 'hidden system' >"$P/payload/hs.txt"
printf 'new content' >"$P/payload/absent.ini"
printf 'Installed to <InstallDir> for <ProductName> [ProductName]' >"$P/payload/template.txt"
printf 'forever' >"$P/payload/perm.txt"
printf 'only on 98' >"$P/payload/old98.txt"
printf 'deep file' >"$P/payload/deep.txt"
printf 'replaces a read-only file' >"$P/payload/replace.txt"
cp "$CV_WIN/tests/versioned_1_10.dll" "$P/payload/newer.dll"
cp "$CV_WIN/tests/versioned_1_9.dll" "$P/payload/older.dll"
{
  record payload/a.txt '' 0
  record payload/ro.txt '' 1
  record payload/hs.txt '' 12
  record payload/absent.ini '' 32
  record payload/template.txt '' 256
  record payload/perm.txt '' 64
  record payload/old98.txt '' 0 2
  record payload/deep.txt 'sub\deep\' 0
  record payload/replace.txt '' 0
  record payload/newer.dll 'lib\' 0
  record payload/older.dll 'lib\' 0
} >"$P/data.inf"
settings "$UNATTENDED_PAGES" '[BUILDING]\r\n2=Yes\r\n' >"$P/setup.inf"
pack_project "$P" "$S/fullpkg"
# What the machine already has: a file only-if-absent keeps, a read-only file
# to be replaced, and libraries with other versions.
mkdir -p "$DEST/lib"
printf 'kept' >"$DEST/absent.ini"
printf 'old' >"$DEST/replace.txt"; "$WINE" cmd /c attrib +r "$(win_path "$DEST/replace.txt")" >/dev/null 2>&1
cp "$CV_WIN/tests/versioned_1_9.dll" "$DEST/lib/newer.dll"
cp "$CV_WIN/tests/versioned_2_0.dll" "$DEST/lib/older.dll"
start_packed "$S/fullpkg" "$S/full.trace" 90
wait_setup
check install-unattended-exit-0 test "$SETUP_RC" -eq 0
check install-plain-file same_file "$P/payload/a.txt" "$DEST/a.txt"
check install-read-only-file same_file "$P/payload/ro.txt" "$DEST/ro.txt"
check install-read-only-attribute has_attr "$DEST/ro.txt" R
check install-hidden-attribute has_attr "$DEST/hs.txt" H
check install-system-attribute has_attr "$DEST/hs.txt" S
check install-plain-not-read-only lacks_attr "$DEST/a.txt" R
check install-only-if-absent-kept same_file <(printf kept) "$DEST/absent.ini"
check install-expanded-content same_file <(printf 'Installed to C:\\CorvaneInstall\\App\\ for Install Product [ProductName]') "$DEST/template.txt"
check install-permanent-file same_file "$P/payload/perm.txt" "$DEST/perm.txt"
check install-other-system-skipped not_exists "$DEST/old98.txt"
check install-sub-folders-created same_file "$P/payload/deep.txt" "$DEST/sub/deep/deep.txt"
check install-read-only-destination-replaced same_file "$P/payload/replace.txt" "$DEST/replace.txt"
check install-higher-version-replaces same_file "$CV_WIN/tests/versioned_1_10.dll" "$DEST/lib/newer.dll"
check install-lower-version-kept same_file "$CV_WIN/tests/versioned_2_0.dll" "$DEST/lib/older.dll"
W='C:\CorvaneInstall\App'
expected_log() {
  # Only the folders the run made (the installation folder and lib were
  # there); a folder made on the way ("sub") after the one it was made for.
  printf 'LOGFORMAT=2\nTOTALFILE=11\nINSTALLDIR=%s\\\nDIR=%s\\sub\\deep\nDIR=%s\\sub\n' "$W" "$W" "$W"
  # Not the kept absent.ini, nor the older.dll left beside a newer one.
  for f in a.txt ro.txt hs.txt template.txt; do printf 'FILE=%s\\%s\n' "$W" "$f"; done
  # A file that was there is moved aside first, to be put back by a rollback.
  local backup='C:\windows\Installer\{C0FFEE00-INST-TEST}\Backup'
  printf 'FILE=%s\\sub\\deep\\deep.txt\nFILE=%s\\replace.txt\nBACKUP=%s\\replace.txt|%s\\b0\\1_replace.txt\n' "$W" "$W" "$W" "$backup"
  printf 'FILE=%s\\lib\\newer.dll\nBACKUP=%s\\lib\\newer.dll|%s\\b0\\2_newer.dll\n' "$W" "$W" "$backup"
}
check install-log-lines-in-order same_file <(expected_log) <(log_lines)
check install-log-crlf grep -c $'\r$' "$LOG"
check install-working-folder-removed not_exists "$(working_folder "$S/full.trace")"
cp "$LOG" "$S/full-uninstall.log"

# A second run starts a new log.
start_packed "$S/fullpkg" "$S/again.trace" 90
wait_setup
check install-log-starts-anew test "$(grep -c '^TOTALFILE=' "$LOG")" -eq 1

# ---- Copy errors answered from the dialog ---------------------------------------------
# The destination of "blocked.txt" is a folder, so copying the file fails.
P=$S/errors; mkdir -p "$P/payload" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
for f in first blocked ignored last; do printf '%s' "$f" >"$P/payload/$f.txt"; done
{ record payload/first.txt '' 0; record payload/blocked.txt '' 0
  record payload/ignored.txt '' 0; record payload/last.txt '' 0; } >"$P/data.inf"
settings "$UNATTENDED_PAGES" >"$P/setup.inf"
pack_project "$P" "$S/errpkg"
THEME=$S/errpkg/theme
rm -rf "$DEST"; mkdir -p "$DEST/blocked.txt" "$DEST/ignored.txt"
start_packed "$S/errpkg" "$S/errors.trace" 90
drive answer 30000 Retry >"$S/retry1.box"
check install-copy-error-text message_is "$S/retry1.box" "Corvane can't copy the file:\\r\\nC:\\CorvaneInstall\\App\\blocked.txt\\r\\nWhat you would like to do ?"
drive answer 10000 Retry >"$S/retry2.box"
check install-retry-asks-again message_is "$S/retry2.box" "Corvane can't copy the file:\\r\\nC:\\CorvaneInstall\\App\\blocked.txt\\r\\nWhat you would like to do ?"
rmdir "$DEST/blocked.txt"
drive answer 10000 Retry >/dev/null
drive answer 10000 Ignore >"$S/ignore.box"
check install-ignore-asked-for-next-file grep -qF 'ignored.txt' "$S/ignore.box"
check install-completes-after-errors on_page complete.lcd 30000
check install-retry-then-copied same_file "$P/payload/blocked.txt" "$DEST/blocked.txt"
check install-ignore-continues same_file "$P/payload/last.txt" "$DEST/last.txt"
check install-ignored-file-still-logged grep -qF 'FILE=C:\CorvaneInstall\App\ignored.txt' "$LOG"
click complete.lcd IDC_FINISH
wait_setup

# Cancel at a copy error abandons the run: the error page, nothing after that
# file, what came before it rolled back, and the log of the installation
# registered before back in place.
rm -rf "$DEST"; mkdir -p "$DEST/blocked.txt"
cp "$LOG" "$S/before-cancel.log"
start_packed "$S/errpkg" "$S/cancelcopy.trace" 90
drive answer 30000 Cancel >/dev/null
check install-cancel-at-error-shows-error-page on_page setuperror.lcd 20000
screenshot setup-error
check install-cancel-at-error-stops not_exists "$DEST/last.txt"
check install-cancel-at-error-rolled-back not_exists "$DEST/first.txt"
check install-cancel-at-error-previous-log-back same_file "$S/before-cancel.log" "$LOG"
check install-cancel-at-error-removes-working-folder not_exists "$(working_folder "$S/cancelcopy.trace")"
click setuperror.lcd IDCANCEL
wait_setup
check install-error-page-ends-setup-exit-1 test "$SETUP_RC" -eq 1

# A critical file that cannot be copied: only Cancel is offered.
P=$S/critical; mkdir -p "$P/payload" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'one' >"$P/payload/one.txt"; printf 'vital' >"$P/payload/vital.txt"; printf 'two' >"$P/payload/two.txt"
{ record payload/one.txt '' 0; record payload/vital.txt '' 16; record payload/two.txt '' 0; } >"$P/data.inf"
settings "$UNATTENDED_PAGES" >"$P/setup.inf"
pack_project "$P" "$S/critpkg"
THEME=$S/critpkg/theme
rm -rf "$DEST"; mkdir -p "$DEST/vital.txt"
start_packed "$S/critpkg" "$S/critical.trace" 90
drive answer 30000 Cancel >"$S/critical.box"
check install-critical-text message_is "$S/critical.box" "Corvane will abort installation, the file:\\r\\nC:\\CorvaneInstall\\App\\vital.txt\\r\\nCan't be installed."
check install-critical-shows-error-page on_page setuperror.lcd 20000
check install-critical-stops not_exists "$DEST/two.txt"
click setuperror.lcd IDOK
wait_setup

# Unattended: a failed copy abandons the run without a dialog, exit code 1.
sed -i 's/^\[SYSTEM\]/[BUILDING]\r\n2=Yes\r\n[SYSTEM]/' "$P/setup.inf"
pack_project "$P" "$S/critquiet"
rm -rf "$DEST"; mkdir -p "$DEST/vital.txt"
start_packed "$S/critquiet" "$S/critquiet.trace" 90
no_dialog_until_done >"$S/critquiet.seen"; noDialog=$?
wait_setup
check install-unattended-failure-no-dialog earlier "$noDialog" "$S/critquiet.seen"
check install-unattended-failure-exit-1 test "$SETUP_RC" -eq 1

# ---- Cancel pressed during the copy stops before the next file ---------------------
# The worker waits at a copy error while the user cancels on the progress page.
THEME=$S/errpkg/theme
rm -rf "$DEST"; mkdir -p "$DEST/blocked.txt"
start_packed "$S/errpkg" "$S/cancelrun.trace" 90
drive wait-dialog 30000 >/dev/null
# The click arrives while the worker waits at its copy error: deterministic
# timing for "Cancel during the copy".
click progress.lcd IDCANCEL
drive answer 10000 OK >"$S/confirm.box"
check install-cancel-during-copy-asks grep -q '^TEXT:Are you sure' "$S/confirm.box"
drive answer 10000 Ignore >/dev/null
check install-cancel-during-copy-complete-page on_page complete.lcd 20000
check install-cancel-stops-before-next-file not_exists "$DEST/ignored.txt"
check install-cancel-status-text text_is complete.lcd IDC_INSTALLSTATUS 'The installation of Install Product was interrupted before it could finish.'
check install-cancel-removes-working-folder eventually 10 not_exists "$(working_folder "$S/cancelrun.trace")"
click complete.lcd IDC_FINISH
wait_setup

# ---- 20 000 records: the progress range holds them all --------------------------------
# From a disk image (no cabinet to extract), spread over 100 folders.
P=$S/many; mkdir -p "$P/DiskImage1" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
(cd "$P/DiskImage1" && for i in $(seq 0 19999); do printf x >"F${i}_f$i.txt"; done)
awk 'BEGIN { for (i = 0; i < 20000; i++)
  printf "f%d.txt\r\nDestination Computer\\<InstallDir>\\many\\%d\\*0*0*1|\r\n", i, i % 100 }' >"$P/data.plain"
settings "$UNATTENDED_PAGES" >"$P/setup.plain"
"$CVPACK" encrypt "$P/setup.plain" "$P/setup.nsx" && "$CVPACK" encrypt "$P/data.plain" "$P/data.nsx"
THEME=$P/theme
rm -rf "$DEST"
start_setup "$P" "$S/many.trace"
on_page progress.lcd 30000
range_is() { drive range "$(layout progress.lcd)" IDC_PROGRESS1 | grep -q "^RANGE:$1 "; }
check install-20000-records-progress-range eventually 60 range_is 20000
check install-20000-records-complete on_page complete.lcd 240000
check install-20000-records-installed test "$(find "$DEST/many" -type f | wc -l)" -eq 20000
click complete.lcd IDC_FINISH
wait_setup
