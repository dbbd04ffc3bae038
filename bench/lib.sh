# Shared helpers for the benchmarks: medians of repeated timed runs and peak memory.

# measure RUNS COMMAND...: prints "<median seconds> <max peak KiB>" of RUNS runs
# (wall time, nanosecond clock; peak resident memory from GNU time).
measure() {
  local runs=$1; shift
  local times=() peak=0 out t m stats
  stats=$(mktemp)
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    /usr/bin/time -o "$stats" -f '%M' "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; rm -f "$stats"; return 1; }
    end=$(date +%s%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
    m=$(tail -n 1 "$stats")
    times+=("$t"); [ "$m" -gt "$peak" ] && peak=$m
  done
  rm -f "$stats"
  printf '%s\n' "${times[@]}" | sort -g | awk -v p="$peak" '{a[NR]=$1} END {
    m = (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2; printf "%.4f %d\n", m, p }'
}

# ratio_row NAME OURS REFNAME REF: one result line, comparable across runs.
ratio_row() {
  awk -v n="$1" -v o="$2" -v rn="$3" -v r="$4" 'BEGIN {
    printf "RATIO %s %s %s %s %.3f\n", n, o, rn, r, (r > 0 ? o / r : 0) }'
}
