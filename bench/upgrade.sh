#!/usr/bin/env bash
# Installing over the same version: the install benchmark's payloads, each
# program timed while installing over its own complete installation (ours
# leaves each file of up to 1 MiB that already holds the payload's bytes in
# place, moves every other aside and deletes the moved files once the run
# completed) against the NSIS installer installing over itself. Medians of
# INSTALL_RUNS runs (default 9).
set -euo pipefail
UPGRADE=1 exec bash "$(cd "$(dirname "$0")" && pwd)/install.sh" "$@"
