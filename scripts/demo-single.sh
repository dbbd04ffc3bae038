#!/usr/bin/env bash
# Inside Xvfb, after demo-remove.sh: installs the product again from the one
# signed file (SINGLE_EXE /S: it unpacks its package into a private folder,
# installs and removes the folder), reads the file's properties as Windows
# shows them, the entry in the list of programs, then removes the product.
# Writes what it saw to REPORT_FILE.
set -uo pipefail
single=$1 code=$2 report=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
wineserver -p
{
  (cd "$(dirname "$single")" && exec timeout -k 5 180 "$WINE" "$(basename "$single")" /S) >/dev/null 2>&1
  echo "$(basename "$single") /S, exit code: $?"
  echo "Its file properties as Windows shows them:"
  timeout -k 5 60 "$WINE" "$CV_WIN/tests/fileidentity.exe" "Z:$(echo "$single" | tr / '\\')" 2>/dev/null |
    tr -d '\r' | sed 's/^/  /'
  echo "Its entry in the list of programs:"
  "$WINE" reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" 2>/dev/null |
    tr -d '\r' | grep -E 'DisplayName|DisplayVersion|Publisher|InstallLocation' | sed 's/^ */  /'
  timeout -k 5 120 "$WINE" "$WINEPREFIX/drive_c/windows/cvexec.exe" /S "$code" >/dev/null 2>&1
  echo "Removed again (cvexec.exe /S), exit code: $?"
} >"$report"
wineserver -k
