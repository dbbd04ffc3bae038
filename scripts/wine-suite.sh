#!/usr/bin/env bash
# The Windows part of the test run; started by test.sh inside one Xvfb session.
set -uo pipefail
root=$CV_ROOT
source "$root/tests/lib.sh"
source "$root/scripts/wine-env.sh"

wine_prefix_fresh
trap wine_stop EXIT

run_gtest win "$WINE" "$CV_WIN/tests/cv_win_tests.exe"
for t in "$root"/tests/e2e/*.sh; do
  [ -e "$t" ] || continue
  echo "== $(basename "$t")"; bash "$t"
done
