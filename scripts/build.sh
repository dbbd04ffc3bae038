#!/usr/bin/env bash
# Builds the native programs into build/native and the Windows programs into build/win.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CV_BUILD:-$root/build}
jobs=$(nproc)

cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
# The progress lines are left out; a failed build fails this script (pipefail).
ninja -C "$build/native" -j "$jobs" | { grep -v '^\[' || true; }

cmake -S "$root" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
ninja -C "$build/win" -j "$jobs" | { grep -v '^\[' || true; }
