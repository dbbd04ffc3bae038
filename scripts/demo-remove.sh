#!/usr/bin/env bash
# Inside Xvfb, after demo-run.sh: removes the product the demo installed the
# way the list of programs does ("cvexec.exe /R <ProductCode>"), through the
# uninstaller's page like a user, saving screenshots into SCREENS_DIR. The
# closing message goes to MESSAGE_FILE and the exit code to EXIT_FILE.
set -uo pipefail
code=$1 exit_file=$2 message_file=$3 screens=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
cvdrive=$CV_WIN/tests/cvdrive.exe
wineserver -p

# The removal takes the uninstall folder with its theme: the driver reads
# the page's layout from a copy.
theme=$screens/../uninstall-theme
rm -rf "$theme"; cp -r "$WINEPREFIX/drive_c/windows/Installer/$code/theme" "$theme"
theme_win="Z:$(echo "$theme" | tr / '\\')"
drive() { timeout -k 5 90 "$WINE" "$cvdrive" "$@" 2>/dev/null | tr -d '\r'; }
shot() { sleep 0.5; import -window root "$screens/$1.png" 2>/dev/null; echo "  page $1"; }

echo "Removing with cvexec.exe /R $code:"
timeout -k 5 120 "$WINE" 'C:\windows\cvexec.exe' /R $code &
pid=$!
if drive page 20000 "$theme_win\\uninstall.lcd" | grep -qx 'PAGE:uninstall.lcd'; then
  shot 20-uninstall
  drive click "$theme_win\\uninstall.lcd" IDYES >/dev/null
  drive wait-dialog 60000 | sed -n 's/^TEXT://p' >"$message_file"
  shot 21-removed
  drive dialog 5000 >/dev/null
fi
wait "$pid"
echo "cvexec.exe exit code: $?" >"$exit_file"
wineserver -k
