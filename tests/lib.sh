# Shared helpers for the shell test scripts under tests/cli and tests/e2e.
# The runner (scripts/test.sh) exports:
#   CV_ROOT     the source tree          CV_BUILD   the build folder
#   CV_NATIVE   native programs          CV_WIN     Windows programs
#   CV_RESULTS  file receiving one line per check ("pass NAME" / "fail NAME")
#   CV_LOG      file receiving the output of every check
# and, for tests/e2e, a Wine environment (WINEPREFIX, HOME, WINEDEBUG,
# WINEDLLOVERRIDES, WINE = the wine64 binary) on a running Xvfb display.

: "${CV_RESULTS:?run through scripts/test.sh}"

# check NAME COMMAND...: runs COMMAND, records pass or fail under NAME.
check() {
  local name=$1; shift
  echo "--- $name: $*" >>"$CV_LOG"
  if "$@" >>"$CV_LOG" 2>&1; then
    echo "pass $name" >>"$CV_RESULTS"; echo "  ok    $name"
  else
    echo "fail $name" >>"$CV_RESULTS"; echo "  FAIL  $name"
  fi
}

# Fresh scratch folder for one script: $CV_BUILD/scratch/<script name>.
scratch_dir() {
  local d="$CV_BUILD/scratch/$(basename "${BASH_SOURCE[1]}" .sh)"
  rm -rf "$d"; mkdir -p "$d"; echo "$d"
}

# trace_name CONSTANT: the name of a trace line as the program writes it.
source "$CV_ROOT/scripts/trace-names.sh"

# earlier RC FILE: a result taken before its check: prints FILE (what was seen
# then) and succeeds when RC is 0.
earlier() { cat "$2" 2>/dev/null; [ "$1" -eq 0 ]; }

# Small assertion helpers for use inside check.
same_file() { cmp -s "$1" "$2"; }
contains() { grep -qF -- "$2" "$1"; }
not_exists() { [ ! -e "$1" ]; }

# Runs a Windows program under Wine with a time limit (seconds) so that a stray
# window can never hang the run. Exit status is the program's.
wine_run() {
  local limit=$1; shift
  timeout -k 5 "$limit" "$WINE" "$@"
}

# Converts a Unix path inside the prefix's drive_c to its Windows form.
win_path() { "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# run_gtest PREFIX COMMAND...: runs a GoogleTest program and records each test
# case as its own result. A program that dies without finishing records a failure.
run_gtest() {
  local prefix=$1; shift
  local out="$CV_BUILD/gtest-$prefix.txt"
  timeout -k 10 900 "$@" --gtest_color=no >"$out" 2>&1
  local rc=$?
  cat "$out" >>"$CV_LOG"
  sed -n 's/^\[       OK \] \([^ ]*\).*/pass \1/p; s/^\[  FAILED  \] \([^ ]*\) (.*/fail \1/p' "$out" \
    | sed "s/^\(pass\|fail\) /\1 $prefix:/" >>"$CV_RESULTS"
  local ok fail
  ok=$(grep -c '^\[       OK \]' "$out"); fail=$(grep -c '^\[  FAILED  \] .* (' "$out")
  echo "  $prefix: $ok passed, $fail failed"
  grep '^\[  FAILED  \] .* (' "$out" | sed 's/^/  /'
  if [ $rc -ne 0 ] && [ "$fail" -eq 0 ]; then
    echo "fail $prefix:program-ended-with-$rc" >>"$CV_RESULTS"; echo "  FAIL  $prefix ended with $rc"
  fi
}
