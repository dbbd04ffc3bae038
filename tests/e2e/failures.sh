#!/usr/bin/env bash
# A setup that cannot run must not say it installed: with no window driver an
# unattended run ends with exit code 4 and leaves nothing behind, the trace
# naming the call that failed.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-FAIL-TEST}'
P=$S/p; mkdir -p "$P/payload" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'plain' >"$P/payload/a.txt"
printf 'payload/a.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$P/data.inf"
{
  printf '[APPINFO]\r\na1=Fail Product\r\na2=1\r\na3=%s\r\na4=C:\\CorvaneFail\r\n' "$CODE"
  printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b' "$ALL_SYSTEMS"
  printf '[BUILDING]\r\n2=Yes\r\n'
} >"$P/setup.inf"
pack_project "$P" "$S/pkg"

# The window driver is switched off for this one run, in a prefix of its own:
# Wine remembers the driver the desktop started with.
nodriver() {
  export WINEPREFIX=$S/nodriver/prefix HOME=$S/nodriver/home
  mkdir -p "$WINEPREFIX" "$HOME"
  timeout 120 "$WINE" wineboot -u >/dev/null 2>&1
  DEST=$WINEPREFIX/drive_c/CorvaneFail
  (cd "$S/pkg" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winex11.drv=d" \
    exec timeout -k 5 60 "$WINE" setup.exe "/LOG=$(zpath "$S/nodriver.trace")") >/dev/null 2>&1
  echo $? >"$S/nodriver.rc"
  [ -e "$DEST/a.txt" ] && touch "$S/nodriver.installed"
  wineserver -k 2>/dev/null
}
(nodriver)
rc=$(cat "$S/nodriver.rc")
check failures-no-window-exit-4 test "$rc" -eq 4
check failures-no-window-nothing-installed not_exists "$S/nodriver.installed"
check failures-no-window-traced grep -q '^failed=Create' "$S/nodriver.trace"

# A damaged payload cabinet: nothing can be installed. The unattended run
# ends with 3, the interactive one shows the setup error page.
cp -r "$S/pkg" "$S/damaged"
printf 'not a cabinet' >"$S/damaged/file1.cab"
(cd "$S/damaged" && exec timeout -k 5 60 "$WINE" setup.exe "/LOG=$(zpath "$S/damaged.trace")") >/dev/null 2>&1
check failures-damaged-cabinet-exit-3 test $? -eq 3
check failures-damaged-cabinet-working-folder-removed not_exists "$(working_folder "$S/damaged.trace")"
sed -i 's/^2=Yes/2=No/' "$P/setup.inf"
pack_project "$P" "$S/interactive"
printf 'not a cabinet' >"$S/interactive/file1.cab"
THEME=$S/interactive/theme
start_packed "$S/interactive" "$S/interactive.trace" 60
check failures-damaged-cabinet-error-page on_page setuperror.lcd 20000
click setuperror.lcd IDOK
wait_setup
check failures-damaged-cabinet-interactive-exit-3 test "$SETUP_RC" -eq 3
