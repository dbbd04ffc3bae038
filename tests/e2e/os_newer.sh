#!/usr/bin/env bash
# Systems after 5.2 under Wine (Windows 7 by default, then Windows 10): they
# count as "NET" for the requirement check and the file masks, while a
# system the project format names (XP) keeps its own name. Unattended runs
# from a disk image, so the exit code tells installed (0) from refused (2).
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

APPDEFAULTS='HKCU\Software\Wine\AppDefaults\setup.exe'
DEST=$WINEPREFIX/drive_c/CorvaneOs/App

# project DIR SYSTEM_SECTION: a disk image holding a file for "NET" only
# (mask 128) and one for "XP" only (mask 64), installed unattended.
project() {
  local dir=$1
  mkdir -p "$dir/DiskImage1" "$dir/theme"
  cp "$CV_ROOT"/examples/sample/theme/* "$dir/theme/"
  printf 'net' >"$dir/DiskImage1/F0_net.txt"
  printf 'xp' >"$dir/DiskImage1/F1_xp.txt"
  printf 'net.txt\r\nDestination Computer\\<InstallDir>\\*0*128*1|\r\nxp.txt\r\nDestination Computer\\<InstallDir>\\*0*64*2|\r\n' \
    >"$dir/data.plain"
  printf '[APPINFO]\r\na1=Os Product\r\na2=1.0\r\na3={C0FFEE00-OS-NEWER}\r\na4=C:\\CorvaneOs\\App\r\n' >"$dir/setup.plain"
  printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n[BUILDING]\r\n2=Yes\r\n' >>"$dir/setup.plain"
  printf "$2" >>"$dir/setup.plain"
  "$CVPACK" encrypt "$dir/setup.plain" "$dir/setup.nsx" >/dev/null &&
    "$CVPACK" encrypt "$dir/data.plain" "$dir/data.nsx" >/dev/null
}
# name_is TRACE NAME: the traced system name is NAME, followed by the real version.
name_is() { local got; got=$(trace_value "$1" kOperatingSystem); [[ $got == "$2 ("*")" ]] || { echo "name: $got"; return 1; }; }
NT_FAMILY='[SYSTEM]\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'   # "2000", "XP", "NET"
ONLY_98='[SYSTEM]\r\nos0=Yes\r\n'

# machine VERSION NAME INSTALLED NOT_INSTALLED: under Wine's VERSION (empty:
# the default), the setup names the system NAME, installs the NT-family
# project with file INSTALLED but not NOT_INSTALLED, and refuses the
# "98"-only project.
machine() {
  local tag=${1:-default}
  if [ -n "$1" ]; then reg_add "$APPDEFAULTS" /v Version /d "$1"; else reg_delete "$APPDEFAULTS"; fi
  rm -rf "$DEST"
  project "$S/$tag-nt" "$NT_FAMILY"
  start_setup "$S/$tag-nt" "$S/$tag-nt.trace"; wait_setup
  check "os-$tag-name" name_is "$S/$tag-nt.trace" "$2"
  check "os-$tag-nt-family-installs" test "$SETUP_RC" -eq 0
  check "os-$tag-file-$3-installed" test -f "$DEST/$3.txt"
  check "os-$tag-file-$4-skipped" not_exists "$DEST/$4.txt"
  rm -rf "$DEST"
  project "$S/$tag-98" "$ONLY_98"
  start_setup "$S/$tag-98" "$S/$tag-98.trace"; wait_setup
  check "os-$tag-only-98-refused" test "$SETUP_RC" -eq 2
  check "os-$tag-only-98-nothing-installed" not_exists "$DEST"
}

machine "" NET net xp
machine win10 NET net xp
machine winxp XP xp net
reg_delete "$APPDEFAULTS"
rm -rf "$WINEPREFIX/drive_c/CorvaneOs"
