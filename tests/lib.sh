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
# case as its own result. When the program hangs or dies inside a case, that
# case is recorded as failed and the cases not yet run are run again without
# it, so one hang costs one case, not the whole program's results.
run_gtest() {
  local prefix=$1; shift
  local out="$CV_BUILD/gtest-$prefix.txt" part="$CV_BUILD/gtest-$prefix.part"
  local skip="" rounds=0 rc
  : >"$out"
  while :; do
    timeout -k 10 "${CV_GTEST_LIMIT:-300}" "$@" --gtest_color=no ${skip:+"--gtest_filter=-$skip"} >"$part" 2>&1
    rc=$?
    tr -d '\r' <"$part" >>"$out"
    [ $rc -eq 0 ] && break
    local stuck
    stuck=$(gtest_unfinished "$out")
    if [ -z "$stuck" ] && [ $rounds -eq 0 ] && ! grep -q '^\[ RUN ' "$part"; then
      # It never reached its first case: once, take it for the start-up of a
      # loaded machine and start it again; a second time it counts.
      echo "  note  $prefix did not reach its first case (ended with $rc): starting it again"
      rounds=1; continue
    fi
    if [ -z "$stuck" ]; then
      # Nothing was running: the program failed before or after its cases.
      grep -q '^\[  FAILED  \] .* (' "$part" ||
        { echo "fail $prefix:program-ended-with-$rc" >>"$CV_RESULTS"; echo "  FAIL  $prefix ended with $rc"; }
      break
    fi
    printf '[  FAILED  ] %s (did not finish: the program ended with %s)\n' "$stuck" "$rc" >>"$out"
    echo "  FAIL  $prefix:$stuck did not finish (ended with $rc)"
    rounds=$((rounds + 1))
    [ $rounds -ge 3 ] && { echo "fail $prefix:program-ended-with-$rc" >>"$CV_RESULTS"; break; }
    skip=$(sed -n 's/^\[\(       OK \|  FAILED  \)\] \([^ ]*\) (.*/\2/p' "$out" | paste -sd: -)
  done
  rm -f "$part"
  cat "$out" >>"$CV_LOG"
  sed -n 's/^\[       OK \] \([^ ]*\).*/pass \1/p; s/^\[  FAILED  \] \([^ ]*\) (.*/fail \1/p' "$out" \
    | sed "s/^\(pass\|fail\) /\1 $prefix:/" >>"$CV_RESULTS"
  local ok fail
  ok=$(grep -c '^\[       OK \]' "$out"); fail=$(grep -c '^\[  FAILED  \] .* (' "$out")
  echo "  $prefix: $ok passed, $fail failed"
  grep '^\[  FAILED  \] .* (' "$out" | sed 's/^/  /'
}

# gtest_unfinished FILE: the last case FILE shows started but not ended.
gtest_unfinished() {
  awk '/^\[ RUN      \] / {t = $4} /^\[(       OK |  FAILED  )\] / && $4 == t {t = ""} END {print t}' "$1"
}
