#!/usr/bin/env bash
# Inside Xvfb, after demo-run.sh: runs the same package once more, silently,
# over the installed product, as an update or a repair would, and writes
# its exit code to EXIT_FILE.
set -uo pipefail
package=$1 exit_file=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
(cd "$package" && exec timeout -k 5 180 "$WINE" setup.exe /S) >/dev/null 2>&1
echo "setup.exe /S over the installed product, exit code: $?" >"$exit_file"
wineserver -k
