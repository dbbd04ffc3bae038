#!/usr/bin/env bash
# Runs every test: native tests, command-line tests, and the Windows tests and
# end-to-end runs under Wine on an Xvfb display. Ends with "N passed, N failed";
# exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CV_ROOT=$root
export CV_BUILD=${CV_BUILD:-$root/build}
export CV_NATIVE=$CV_BUILD/native CV_WIN=$CV_BUILD/win
export CV_RESULTS=$CV_BUILD/test-results.txt CV_LOG=$CV_BUILD/test-log.txt

bash "$root/scripts/deps.sh" || { echo "dependency installation failed"; exit 1; }
if ! bash "$root/scripts/build.sh"; then
  echo "build failed"; echo "0 passed, 1 failed"; exit 1
fi

mkdir -p "$CV_BUILD"
: >"$CV_RESULTS"; : >"$CV_LOG"
source "$root/tests/lib.sh"

echo "== native tests"
run_gtest native "$CV_NATIVE/tests/cv_native_tests"
echo "== fuzz targets (10 seconds each)"
bash "$root/scripts/fuzz.sh" --check || true
for t in "$root"/tests/cli/*.sh; do
  [ -e "$t" ] || continue
  echo "== $(basename "$t")"; bash "$t"
done

echo "== Windows tests under Wine"
timeout -k 10 1800 xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/scripts/wine-suite.sh" ||
  echo "fail wine-suite-ended-early" >>"$CV_RESULTS"
echo "== Windows tests on a 16-bit screen"
CV_WINE_DIR=$CV_BUILD/wine16 timeout -k 10 600 xvfb-run -a -s "-screen 0 1024x768x16" \
  bash "$root/scripts/wine-suite.sh" "$root/tests/e2e-16bit" ||
  echo "fail wine-16bit-suite-ended-early" >>"$CV_RESULTS"

passed=$(grep -c '^pass ' "$CV_RESULTS")
failed=$(grep -c '^fail ' "$CV_RESULTS")
# Each failed check with its own part of the log, in one file printed here.
failures=$CV_BUILD/test-failures.txt
: >"$failures"
grep '^fail ' "$CV_RESULTS" | sed 's/^fail //' | while read -r name; do
  echo "==== $name"
  case $name in
    native:*|win:*)  # a GoogleTest case: its lines from RUN to FAILED
      awk -v t="${name#*:}" '{sub(/\r$/, "")} $0 == "[ RUN      ] " t {on=1} on {print} on && index($0, "[  FAILED  ] " t " (") == 1 {exit}' \
        "$CV_BUILD/gtest-${name%%:*}.txt" | head -n 60 ;;
    *)  # a script's check: its command and what it printed
      awk -v t="--- $name: " 'index($0, t) == 1 {on=1; print; next} on && /^--- / {exit} on {print}' \
        "$CV_LOG" | head -n 60 ;;
  esac
done >"$failures"
if [ "$failed" -gt 0 ]; then
  echo "Failed:"; grep '^fail ' "$CV_RESULTS" | sed 's/^fail /  /'
  echo "---- the failed checks with their logs ($failures):"; cat "$failures"
  echo "(whole log in $CV_LOG)"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
