#!/usr/bin/env bash
# End-to-end installation under Wine, two payloads made by make-payload.py:
#   small  2 000 files of 1-64 KiB in 20 folders (mildly compressible text)
#   large  20 files of 10 MiB (incompressible)
# Ours: the whole unattended run of setup.exe in the packed folder (decryption,
# cabinet extraction, copy, uninstall log, clean-up), from launch to exit.
# References, measured in the same run: an NSIS installer (zlib, 64-bit
# stub, silent) of the same files, and Wine's xcopy of the payload from the
# prefix's C: drive. Medians of INSTALL_RUNS runs (default 9), peak memory of
# ours and of NSIS from GNU time. Every timed run is checked afterwards: exit
# code 0 and the installed tree identical to the payload.
#
# Payloads, projects, packed folders and installers are kept under
# $BENCH_WORK/install and rebuilt only when what they are made from changes.
# Timing runs inside one Xvfb session with a persistent wineserver, in the
# benchmark's own prefix, kept in memory (/dev/shm) when that is a tmpfs:
# ext4 without a journal skips inode numbers freed in the last minutes when it
# allocates new ones, checking each, so on disk every run's file creation
# slowed down by an amount that depended on which earlier deletions shared its
# inode groups (one program's folders more than another's). In memory all
# programs create their files alike. BENCH_WINE_DIR chooses another place.
#
#   bash bench/install.sh             (through bench/run.sh install)
#   bash bench/install.sh phases [small|large]
#                                     one traced run of ours, timed by phase
set -eEuo pipefail
trap 'echo "install benchmark: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
bench=$(cd "$(dirname "$0")" && pwd) self=$bench/install.sh
source "$bench/lib.sh"
: "${CV_ROOT:=$(cd "$bench/.." && pwd)}" "${CV_BUILD:=$CV_ROOT/build}"
: "${BENCH_WORK:=$CV_BUILD/bench}"
export CV_ROOT CV_BUILD BENCH_WORK
work=$BENCH_WORK/install
default_wine_dir() {
  if [ -d /dev/shm ] && [ -w /dev/shm ] && [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ]; then
    echo "/dev/shm/corvane-bench-$(id -u)"
  else
    echo "$work/wine"
  fi
}
export CV_WINE_DIR=${BENCH_WINE_DIR:-$(default_wine_dir)}
source "$CV_ROOT/scripts/wine-env.sh"

SEED=20240601
RUNS=${INSTALL_RUNS:-9}
UPGRADE=${UPGRADE:-0}  # 1: time installations over the same version instead (bench/upgrade.sh)
SINGLE=${SINGLE:-0}    # 1: time the single-file package against the folder package (bench/single.sh)
KINDS=(small large)
CVPACK=$CV_BUILD/native/tools/cvpack/cvpack
ENGINE=$CV_BUILD/win/src/setup.exe
DRIVE_C=$WINEPREFIX/drive_c
OURS_DIR='C:\BenchOurs' NSIS_DIR='C:\BenchNsis' XCOPY_DIR='C:\BenchXcopy'
RUN_LIMIT=${INSTALL_RUN_LIMIT:-120}  # seconds allowed for one timed run

die() { echo "install benchmark: $*" >&2; exit 1; }
product_code() { case $1 in small) echo '{B3AC0001-5E7A-4C1D-9F00-000000000001}' ;;
                            large) echo '{B3AC0001-5E7A-4C1D-9F00-000000000002}' ;; esac; }
unix_of() { echo "$DRIVE_C/${1#C:\\}" | tr '\\' /; }  # C:\X\Y -> $DRIVE_C/X/Y
key_of() { cat "$@" | sha256sum | cut -c1-16; }
fresh() { [ -f "$1" ] && [ "$(cat "$1")" = "$2" ]; }  # STAMP KEY: built from the same inputs

# ---- Preparation (outside Xvfb and outside any timing) ---------------------------

# payload KIND: $work/KIND/project/payload, regenerated when the generator or seed changed.
payload() {
  local kind=$1 dir=$work/$1/project key
  key="$(key_of "$bench/make-payload.py") $SEED $kind"
  fresh "$dir/payload.key" "$key" && return 0
  mkdir -p "$dir"; rm -f "$dir/payload.key"
  python3 "$bench/make-payload.py" --seed "$SEED" "$kind" "$dir/payload" 2>/dev/null ||
    die "make-payload.py $kind failed"
  echo "$key" >"$dir/payload.key"
}

# project KIND: setup.inf, data.inf and theme/ beside the payload, packed into $work/KIND/package.
project() {
  local kind=$1 dir=$work/$1/project pkg=$work/$1/package key
  key="$(cat "$dir/payload.key") $OURS_DIR $(key_of "$ENGINE" "$CVPACK" <(declare -f project product_code) "$CV_ROOT"/examples/sample/theme/*)"
  fresh "$work/$kind/package.key" "$key" && [ -f "$pkg/setup.exe" ] && return 0
  rm -f "$work/$kind/package.key"
  printf '[APPINFO]\r\na1=Corvane Bench %s\r\na2=1.0\r\na3=%s\r\na4=%s\r\n' "$kind" "$(product_code "$kind")" "$OURS_DIR" >"$dir/setup.inf"
  printf '[BUILDING]\r\n2=Yes\r\n[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n' >>"$dir/setup.inf"
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n' >>"$dir/setup.inf"
  # One record per payload file, numbered from 1, keeping the folder structure.
  (cd "$dir" && find payload -type f | LC_ALL=C sort) | awk '{
      sub_ = $0; sub(/^payload\//, "", sub_); n = split(sub_, part, "/"); folder = ""
      for (i = 1; i < n; i++) folder = folder part[i] "\\"
      printf "%s\r\nDestination Computer\\<InstallDir>\\%s*0*0*%d|\r\n", $0, folder, NR }' >"$dir/data.inf"
  rm -rf "$dir/theme"; cp -r "$CV_ROOT/examples/sample/theme" "$dir/theme"
  "$CVPACK" build --engine "$ENGINE" "$dir" "$pkg" >/dev/null || die "cvpack build of $kind failed"
  echo "$key" >"$work/$kind/package.key"
}

# single KIND: $work/KIND/single.exe, the packed folder as one executable.
single() {
  local kind=$1 key
  key="$(cat "$work/$kind/package.key")"
  fresh "$work/$kind/single.key" "$key" && [ -f "$work/$kind/single.exe" ] && return 0
  rm -rf "$work/$kind/single.key" "$work/$kind/single-package"
  "$CVPACK" build --engine "$ENGINE" --single-file "$work/$kind/single.exe" \
    "$work/$kind/project" "$work/$kind/single-package" >/dev/null || die "cvpack build --single-file of $kind failed"
  echo "$key" >"$work/$kind/single.key"
}

# nsis KIND: $work/KIND/nsis/installer.exe, the same payload as an NSIS installer.
nsis() {
  local kind=$1 dir=$work/$1/nsis name="CorvaneBenchNsis-$1" key
  key="$(cat "$work/$kind/project/payload.key") $(makensis -VERSION) $NSIS_DIR $(key_of <(declare -f nsis))"
  fresh "$dir/installer.key" "$key" && [ -f "$dir/installer.exe" ] && return 0
  rm -rf "$dir"; mkdir -p "$dir"
  local ukey="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
  cat >"$dir/installer.nsi" <<EOF
Unicode true
Target amd64-unicode
SetCompressor zlib
Name "Corvane Bench NSIS $kind"
OutFile "$dir/installer.exe"
InstallDir "$NSIS_DIR"
RequestExecutionLevel admin
Page directory
Page instfiles
Section "Payload"
  SetOutPath "\$INSTDIR"
  File /r "$work/$kind/project/payload/*"
  WriteUninstaller "\$INSTDIR\\uninstall.exe"
  WriteRegStr HKLM "$ukey" "DisplayName" "Corvane Bench NSIS $kind"
  WriteRegStr HKLM "$ukey" "UninstallString" '"\$INSTDIR\\uninstall.exe"'
SectionEnd
Section "Uninstall"
  RMDir /r "\$INSTDIR"
  DeleteRegKey HKLM "$ukey"
SectionEnd
EOF
  makensis -V2 "$dir/installer.nsi" >"$dir/makensis.log" 2>&1 ||
    { tail -n 20 "$dir/makensis.log" >&2; die "makensis of $kind failed"; }
  echo "$key" >"$dir/installer.key"
}

# ---- Timing (inside Xvfb) ---------------------------------------------------------

# timed KIND-LABEL COMMAND...: one run of COMMAND (time-limited); appends its wall
# time in seconds and its peak memory in KiB to $work/samples/KIND-LABEL.
timed() {
  local label=$1; shift
  local start end rc=0
  # Written data of the previous run is flushed first, so that its write-back
  # does not land in this run's time.
  sync
  start=$(date +%s%N)
  timeout -k 5 "$RUN_LIMIT" /usr/bin/time -o "$work/time.txt" -f '%M' "$@" >"$work/last-run.txt" 2>&1 || rc=$?
  end=$(date +%s%N)
  [ "$rc" -eq 0 ] || { tail -n 5 "$work/last-run.txt" >&2; die "$label: exit code $rc from: $*"; }
  awk -v a="$start" -v b="$end" -v m="$(tail -n 1 "$work/time.txt")" \
    'BEGIN { printf "%.4f %d\n", (b - a) / 1e9, m }' >>"$work/samples/$label"
}

# same_tree PAYLOAD DIR [EXTRA]: DIR holds exactly the payload's files (plus the
# file EXTRA), byte for byte.
same_tree() {
  local src=$1 dst=$2 extra=${3:-} want got
  [ -d "$dst" ] || { echo "$dst was not created" >&2; return 1; }
  want=$(find "$src" -type f | wc -l); got=$(find "$dst" -type f | wc -l)
  [ -n "$extra" ] && want=$((want + 1))
  [ "$got" -eq "$want" ] || { echo "$dst: $got files, expected $want" >&2; return 1; }
  if [ -n "$extra" ]; then diff -rq -x "$extra" "$src" "$dst" >&2; else diff -rq "$src" "$dst" >&2; fi
}

# Working folders of our setup (cvHHMMSS under the temporary folder).
working_folders() { find "$DRIVE_C/users" -maxdepth 5 -type d -name 'cv[0-9][0-9][0-9][0-9][0-9][0-9]' 2>/dev/null; }

# clean_ours KIND: no installation folder, uninstall log folder or working folder
# (one an interrupted run may have left).
clean_ours() {
  rm -rf "$(unix_of "$OURS_DIR")" "$DRIVE_C/windows/Installer/$(product_code "$1")"
  local w; working_folders | while read -r w; do rm -rf "$w"; done
}

run_ours() {
  local kind=$1 src=$work/$1/project/payload log
  clean_ours "$kind"
  (cd "$work/$kind/package" && timed "$kind-ours" "$WINE" setup.exe)
  same_tree "$src" "$(unix_of "$OURS_DIR")" || die "$kind: our setup did not install the payload"
  log="$DRIVE_C/windows/Installer/$(product_code "$kind")/uninstall.log"
  [ "$(grep -c '^FILE=' "$log" 2>/dev/null)" = "$(find "$src" -type f | wc -l)" ] ||
    die "$kind: the uninstall log $log does not list every file"
  [ -z "$(working_folders)" ] || die "$kind: working folder left behind: $(working_folders)"
}

# The upgrade runs (UPGRADE=1): each program installs over its own complete
# installation of the same payload, placed by an untimed run just before.
# Ours leaves the files that already hold the payload's bytes (up to 1 MiB)
# in place, moves every other aside and deletes the moved files once the run
# completed; NSIS overwrites in place.
run_ours_upgrade() {
  local kind=$1 src=$work/$1/project/payload
  clean_ours "$kind"
  (cd "$work/$kind/package" && "$WINE" setup.exe) || die "$kind: the installation to upgrade failed"
  (cd "$work/$kind/package" && timed "$kind-ours-upgrade" "$WINE" setup.exe)
  same_tree "$src" "$(unix_of "$OURS_DIR")" || die "$kind: our upgrade did not install the payload"
  [ ! -e "$DRIVE_C/windows/Installer/$(product_code "$kind")/Backup" ] || die "$kind: backups left behind"
  [ -z "$(working_folders)" ] || die "$kind: working folder left behind: $(working_folders)"
}

run_nsis_upgrade() {
  local kind=$1
  rm -rf "$(unix_of "$NSIS_DIR")"
  "$WINE" "$work/$kind/nsis/installer.exe" /S "/D=$NSIS_DIR" || die "$kind: the NSIS installation to upgrade failed"
  timed "$kind-nsis-upgrade" "$WINE" "$work/$kind/nsis/installer.exe" /S "/D=$NSIS_DIR"
  same_tree "$work/$kind/project/payload" "$(unix_of "$NSIS_DIR")" uninstall.exe ||
    die "$kind: the NSIS upgrade did not install the payload"
}

# The single file unpacks the package into a private folder of its own under
# the temporary folder and removes it when the run ends.
temp_entries() { find "$DRIVE_C/users" -maxdepth 5 -path '*/Temp/*' -prune -print 2>/dev/null | sort; }

run_single() {
  local kind=$1 src=$work/$1/project/payload before
  clean_ours "$kind"
  before=$(temp_entries)
  (cd "$work/$kind" && timed "$kind-single" "$WINE" single.exe)
  same_tree "$src" "$(unix_of "$OURS_DIR")" || die "$kind: the single file did not install the payload"
  [ "$(temp_entries)" = "$before" ] || die "$kind: the single file left its unpacked folder behind"
}

run_nsis() {
  local kind=$1
  rm -rf "$(unix_of "$NSIS_DIR")"
  timed "$kind-nsis" "$WINE" "$work/$kind/nsis/installer.exe" /S "/D=$NSIS_DIR"
  same_tree "$work/$kind/project/payload" "$(unix_of "$NSIS_DIR")" uninstall.exe ||
    die "$kind: the NSIS installer did not install the payload"
}

run_xcopy() {
  local kind=$1 src="C:\\BenchSrc\\$1"
  rm -rf "$(unix_of "$XCOPY_DIR")"
  timed "$kind-xcopy" "$WINE" cmd /c xcopy /e /i /q "$src" "$XCOPY_DIR"
  same_tree "$(unix_of "$src")" "$(unix_of "$XCOPY_DIR")" || die "$kind: xcopy did not copy the payload"
}

# median_of FILE COLUMN / max_of FILE COLUMN
median_of() { cut -d' ' -f"$2" "$1" | sort -g | awk '{ a[NR] = $1 } END {
  printf "%.4f\n", (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
max_of() { cut -d' ' -f"$2" "$1" | sort -g | tail -n 1; }

# The xcopy source: the payload inside the prefix's C: drive.
stage_xcopy_source() {
  local kind=$1 dst=$DRIVE_C/BenchSrc/$1
  fresh "$dst.key" "$(cat "$work/$kind/project/payload.key")" && return 0
  rm -rf "$dst" "$dst.key"; mkdir -p "$DRIVE_C/BenchSrc"
  cp -r "$work/$kind/project/payload" "$dst"
  cat "$work/$kind/project/payload.key" >"$dst.key"
}

# start_wine: the benchmark's prefix (made once, kept) and a persistent server.
# wine-env.sh's wine_prefix_fresh is not used: the server wineboot leaves
# running makes its "wineserver -p" fail, which would stop this script.
start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$CV_WINE_DIR"; mkdir -p "$WINEPREFIX" "$HOME"
    "$WINE" wineboot -u >/dev/null 2>&1 || die "wineboot failed in $WINEPREFIX"
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
  fi
  mkdir -p "$HOME"
  # A server still running (left by wineboot or an interrupted run) is stopped
  # first: only a persistent one keeps every program start warm.
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p || die "wineserver -p failed"
  "$WINE" cmd /c exit >/dev/null 2>&1 || die "Wine does not start in $WINEPREFIX"
}

inside() {
  start_wine
  trap wine_stop EXIT
  rm -rf "$work/samples"; mkdir -p "$work/samples"
  local kind i
  for kind in "${KINDS[@]}"; do
    stage_xcopy_source "$kind"
    # Interleaved, so that slow phases of the machine hit all three alike.
    for i in $(seq "$RUNS"); do
      if [ "$UPGRADE" = 1 ]; then run_ours_upgrade "$kind"; run_nsis_upgrade "$kind"; continue; fi
      if [ "$SINGLE" = 1 ]; then run_ours "$kind"; run_single "$kind"; continue; fi
      run_ours "$kind"; run_nsis "$kind"; run_xcopy "$kind"
    done
    clean_ours "$kind"; rm -rf "$(unix_of "$NSIS_DIR")" "$(unix_of "$XCOPY_DIR")"
  done
}

# phases: one traced run of ours ($PHASES_KIND); polls the trace, the working folder and the
# installation folder and prints when each start-up step and milestone appeared.
phases() {
  start_wine
  trap wine_stop EXIT
  local kind=${PHASES_KIND:-small} trace=$work/phases-trace.txt
  clean_ours "$kind"; rm -f "$trace"
  (cd "$work/$kind/package" &&
    python3 "$bench/install-phases.py" \
      --trace "$trace" --drive-c "$DRIVE_C" --target "$(unix_of "$OURS_DIR")" \
      --files "$(find "$work/$kind/project/payload" -type f | wc -l)" --timeline 0.5 -- \
      "$WINE" setup.exe "/LOG=Z:$(echo "$trace" | tr / '\\')")
  same_tree "$work/$kind/project/payload" "$(unix_of "$OURS_DIR")" || die "$kind: traced run did not install the payload"
  clean_ours "$kind"
}

case ${1:-} in
  --inside) inside; exit 0 ;;
  --phases-inside) phases; exit 0 ;;
esac

command -v makensis >/dev/null || die "makensis not found (Debian package nsis; scripts/deps.sh installs it)"
[ -x "$CVPACK" ] && [ -f "$ENGINE" ] || die "build cvpack and setup.exe first (scripts/build.sh)"
for kind in "${KINDS[@]}"; do payload "$kind"; done
if [ "${1:-}" = phases ]; then
  export PHASES_KIND=${2:-small}
  case $PHASES_KIND in small|large) ;; *) die "phases: small or large, not $PHASES_KIND" ;; esac
  project "$PHASES_KIND"
  timeout -k 10 600 xvfb-run -a -s "-screen 0 1024x768x24" bash "$self" --phases-inside ||
    die "the traced run failed"
  exit 0
fi
for kind in "${KINDS[@]}"; do
  project "$kind"
  if [ "$SINGLE" = 1 ]; then single "$kind"; else nsis "$kind"; fi
done
timeout -k 10 1200 xvfb-run -a -s "-screen 0 1024x768x24" bash "$self" --inside ||
  die "the timed runs failed (see above)"
if [ "$UPGRADE" = 1 ]; then
  for kind in "${KINDS[@]}"; do
    s=$work/samples
    [ "$(wc -l <"$s/$kind-ours-upgrade")" -eq "$RUNS" ] || die "$kind: missing upgrade samples"
    ratio_row "upgrade-$kind" "$(median_of "$s/$kind-ours-upgrade" 1)" nsis-zlib-over-itself \
      "$(median_of "$s/$kind-nsis-upgrade" 1)"
  done
  exit 0
fi
if [ "$SINGLE" = 1 ]; then
  for kind in "${KINDS[@]}"; do
    s=$work/samples
    [ "$(wc -l <"$s/$kind-single")" -eq "$RUNS" ] || die "$kind: missing single-file samples"
    ratio_row "single-$kind" "$(median_of "$s/$kind-single" 1)" folder-package "$(median_of "$s/$kind-ours" 1)"
    ratio_row "single-$kind-bytes" "$(stat -c %s "$work/$kind/single.exe")" folder-package-bytes \
      "$(find "$work/$kind/package" -type f -printf '%s\n' | awk '{ n += $1 } END { print n }')"
  done
  exit 0
fi
for kind in "${KINDS[@]}"; do
  s=$work/samples
  [ "$(wc -l <"$s/$kind-ours")" -eq "$RUNS" ] || die "$kind: missing samples"
  ours=$(median_of "$s/$kind-ours" 1)
  ratio_row "install-$kind" "$ours" nsis-zlib "$(median_of "$s/$kind-nsis" 1)"
  ratio_row "install-$kind" "$ours" wine-xcopy "$(median_of "$s/$kind-xcopy" 1)"
done
for kind in "${KINDS[@]}"; do
  ratio_row "install-$kind-peak-kib" "$(max_of "$s/$kind-ours" 2)" nsis-peak-kib "$(max_of "$s/$kind-nsis" 2)"
done
