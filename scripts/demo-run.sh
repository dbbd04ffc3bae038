#!/usr/bin/env bash
# Inside Xvfb: runs setup.exe in PACKAGE_DIR in a fresh prefix, tracing its
# start-up into TRACE_FILE and writing its exit code into EXIT_FILE.
set -uo pipefail
package=$1 trace=$2 exit_file=$3
source "$(dirname "$0")/wine-env.sh"
wine_prefix_fresh
rm -f "$trace"
(cd "$package" && CVSETUP_TRACE="Z:$(echo "$trace" | tr / '\\')" timeout -k 5 120 "$WINE" setup.exe)
echo "setup.exe exit code: $?" >"$exit_file"
wine_stop
