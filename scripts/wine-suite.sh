#!/usr/bin/env bash
# The Windows part of the test run, started by test.sh inside one Xvfb session
# with a fresh Wine prefix:
#   wine-suite.sh            the Windows unit tests and tests/e2e/*.sh
#   wine-suite.sh DIR        only the scripts DIR/*.sh (another screen setup)
set -uo pipefail
root=$CV_ROOT
source "$root/tests/lib.sh"
source "$root/scripts/wine-env.sh"

wine_prefix_fresh
trap wine_stop EXIT

scripts_dir=${1:-$root/tests/e2e}
[ $# -eq 0 ] && run_gtest win "$WINE" "$CV_WIN/tests/cv_win_tests.exe"
for t in "$scripts_dir"/*.sh; do
  [ -e "$t" ] || continue
  start=$SECONDS
  echo "== $(basename "$t")"; bash "$t"
  echo "   ($(basename "$t"): $((SECONDS - start)) s)"
done
