#!/usr/bin/env bash
# The long fuzz campaign: RUNS executions (default 10 million) of each target,
# one after the other with one worker, each from its seeds and every input
# earlier runs kept (build/fuzz/corpus). Prints one line per target with its
# executions and seconds, then the whole campaign's time; exits non-zero when
# a target found a crash, hang or sanitizer report (input in build/fuzz/crashes).
#   bench/fuzz.sh [RUNS] [TARGET...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10000000}; [ $# -gt 0 ] && shift
start=$SECONDS
bash "$root/scripts/fuzz.sh" --runs "$runs" "$@"
rc=$?
echo "campaign: $((SECONDS - start)) s"
exit $rc
