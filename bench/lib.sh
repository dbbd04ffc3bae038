# Shared helpers for the benchmarks: medians of repeated timed runs and peak memory.

# measure RUNS COMMAND...: prints "<median seconds> <max peak KiB>" of RUNS runs.
measure() {
  local runs=$1; shift
  local times=() peak=0 out t m
  for _ in $(seq "$runs"); do
    out=$( { /usr/bin/time -f '%e %M' "$@" >/dev/null 2>/dev/null; } 2>&1 | tail -n 1)
    t=${out% *}; m=${out#* }
    times+=("$t"); [ "$m" -gt "$peak" ] && peak=$m
  done
  printf '%s\n' "${times[@]}" | sort -g | awk -v p="$peak" '{a[NR]=$1} END {
    m = (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2; printf "%.4f %d\n", m, p }'
}

# ratio_row NAME OURS REFNAME REF: one result line, comparable across runs.
ratio_row() {
  awk -v n="$1" -v o="$2" -v rn="$3" -v r="$4" 'BEGIN {
    printf "RATIO %s %s %s %s %.3f\n", n, o, rn, r, (r > 0 ? o / r : 0) }'
}
