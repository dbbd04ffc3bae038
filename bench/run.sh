#!/usr/bin/env bash
# Runs the named benchmarks (all by default) and prints one line per figure:
#   RATIO <name> <ours> <reference-name> <reference> <ours/reference>
# Times are medians in seconds; peak memory in KiB. The reference is measured
# in the same run, so ratios compare across machines and runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CV_ROOT=$root CV_BUILD=${CV_BUILD:-$root/build}
export BENCH_WORK=$CV_BUILD/bench; mkdir -p "$BENCH_WORK"

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" >/dev/null

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in "$root"/bench/*.sh; do
    n=$(basename "$f" .sh); case $n in run|lib) ;; *) names+=("$n") ;; esac
  done
fi
for n in "${names[@]}"; do
  [ -f "$root/bench/$n.sh" ] || { echo "unknown benchmark: $n" >&2; exit 2; }
  bash "$root/bench/$n.sh"
done
