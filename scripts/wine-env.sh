# Sourced: the Wine environment of one test or demo run, all under the build folder.
: "${CV_BUILD:?}"
CV_WINE_DIR=${CV_WINE_DIR:-$CV_BUILD/wine}
export WINEPREFIX="$CV_WINE_DIR/prefix"
export HOME="$CV_WINE_DIR/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINE=/usr/lib/wine/wine64
export PATH="/usr/lib/wine:$PATH"

# Creates a fresh prefix (needs a display) with Wine-drawn title bars, and
# keeps the server running so each program starts quickly.
wine_prefix_fresh() {
  wineserver -k 2>/dev/null || true
  rm -rf "$CV_WINE_DIR"
  mkdir -p "$WINEPREFIX" "$HOME"
  timeout 120 "$WINE" wineboot -u >/dev/null 2>&1 ||
    echo "  note  wineboot did not finish making $WINEPREFIX (ended with $?)"
  # Caption buttons are drawn with the Marlett symbol font, which this Wine
  # does not find in its data folder: without it they show as letters.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  # No window manager runs on the test display: windows left to one make
  # Wine wait two seconds for its answer whenever a window is hidden or
  # destroyed (every page move).
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The server wineboot started is still up: replace it by a persistent one.
  wineserver -k 2>/dev/null || true
  timeout 20 wineserver -w 2>/dev/null || true
  wineserver -p
}

wine_stop() { wineserver -k 2>/dev/null || true; }
