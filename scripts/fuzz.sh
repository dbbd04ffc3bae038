#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz, clang with libFuzzer and the address and
# undefined-behaviour sanitizers) into build/fuzz and runs them, one worker.
#
#   scripts/fuzz.sh [--seconds N] [TARGET...]   N seconds per target (default 10)
#   scripts/fuzz.sh --runs N [TARGET...]        N executions per target (a long campaign)
#   scripts/fuzz.sh --check                     10 seconds per target, each a pass/fail
#                                               line through tests/lib.sh (scripts/test.sh)
#
# TARGET is a name like fuzz_gif (default: all). Each target starts from its
# committed seeds (tests/fuzz/corpus/TARGET) and the inputs earlier runs found
# (build/fuzz/corpus/TARGET); a crash, hang (10 s for one input), memory
# overuse or sanitizer report fails it, with the input saved under
# build/fuzz/crashes/. One line per target: executions and seconds.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CV_BUILD:-$root/build}/fuzz
jobs=${CV_JOBS:-$(nproc)}

seconds=10 runs="" check=0 targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --check) check=1; shift ;;
    *) targets+=("$1"); shift ;;
  esac
done

[ $check -eq 1 ] && source "$root/tests/lib.sh"
build_targets() {
  CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$build" -G Ninja >/dev/null &&
    ninja -C "$build" -j "$jobs" | grep -v '^\['
  [ "${PIPESTATUS[0]}" -eq 0 ]
}
if ! build_targets; then
  echo "fuzz build failed"
  [ $check -eq 1 ] && echo "fail fuzz-build" >>"$CV_RESULTS"
  exit 1
fi
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$root"/tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

# run_target NAME: one run of one target; prints "NAME: N executions in S s".
run_target() {
  local name=$1 log="$build/logs/$1.txt"
  mkdir -p "$build/corpus/$name" "$build/crashes" "$build/logs"
  local limit=(-max_total_time="$seconds")
  [ -n "$runs" ] && limit=(-runs="$runs")
  local dict=(); [ -f "$root/tests/fuzz/$name.dict" ] && dict=(-dict="$root/tests/fuzz/$name.dict")
  local start=$SECONDS
  # The outer limit only stops a target that no longer answers at all.
  local outer=$((seconds * 3 + 120)); [ -n "$runs" ] && outer=$((7 * 24 * 3600))
  timeout -k 10 "$outer" "$build/$name" "${limit[@]}" "${dict[@]}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" \
    "$build/corpus/$name" "$root/tests/fuzz/corpus/$name" >"$log" 2>&1
  local rc=$?
  local n; n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "$name: ${n:-0} executions in $((SECONDS - start)) s"
  if [ $rc -ne 0 ]; then
    grep -m3 -E 'ERROR|runtime error|deadly signal|timeout' "$log"
    return 1
  fi
}

failed=0
for t in "${targets[@]}"; do
  if [ $check -eq 1 ]; then
    check "fuzz-${t#fuzz_}" run_target "$t"
  else
    run_target "$t" || failed=1
  fi
done
exit $failed
