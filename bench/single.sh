#!/usr/bin/env bash
# The single-file package: the install benchmark's payloads, each installed
# unattended from the one executable (which unpacks the package into a
# private folder first and removes it afterwards) against the folder package
# in the same run, and the executable's size against the folder's. Medians of
# INSTALL_RUNS runs (default 9).
set -euo pipefail
SINGLE=1 exec bash "$(cd "$(dirname "$0")" && pwd)/install.sh" "$@"
