#!/usr/bin/env bash
# A single file (cvpack build --single-file) under Wine: an unattended install
# from it gives what the folder package gives, and its removal leaves the
# machine as it was; exit codes and /D= with blanks pass through; the package
# is unpacked into a private folder of the run's own that is gone after the
# run, whatever its end; a truncated file and one with a byte changed run
# nothing and end with 4, a message box in an interactive run, never a crash.
source "$CV_ROOT/tests/lib_e2e.sh"
source "$CV_ROOT/tests/lib_snapshot.sh"
S=$(scratch_dir)

CODE='{5C1E0F11-E5A7-4E2B-9D3C-51F9C0DE0001}'
UNINSTALL_KEY="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
ROOT=$WINEPREFIX/drive_c/Corvane\ Single
TEMP_DIR=$(upath "$("$WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")

# project DIR SYSTEMS: a project of two payload files in two folders, an
# add-on program (recordrun) in SupportFiles and the sample's theme and
# languages; SYSTEMS is its SYSTEM section.
project() {
  local P=$1
  mkdir -p "$P/payload/sub" "$P/theme" "$P/SupportFiles"
  cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
  cp -r "$CV_ROOT/examples/sample/languages" "$P/"
  printf 'first file' >"$P/payload/a.txt"
  head -c 300000 /dev/urandom >"$P/payload/sub/b.bin"
  cp "$CV_WIN/tests/recordrun.exe" "$P/SupportFiles/recorder.exe"
  { printf 'payload\\a.txt\r\nDestination Computer\\<InstallDir>\\*0*0*|\r\n'
    printf 'payload\\sub\\b.bin\r\nDestination Computer\\<InstallDir>\\sub\\*0*0*|\r\n'; } >"$P/data.inf"
  { printf '[APPINFO]\r\na1=Single Product\r\na2=1.0\r\na3=%s\r\na4=C:\\Corvane Single\\Default\r\n' "$CODE"
    printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
    printf '[MERGEMODULES]\r\nTOTAL=1\r\nC0=<ResourceDir>\\recorder.exe\r\n'
    printf "$2"; } >"$P/setup.inf"
}
# single DIR PROJECT NAME: packs PROJECT into DIR/pkg and the single file DIR/NAME.
single() {
  "$CVPACK" build --engine "$SETUP_EXE" --single-file "$1/$3" "$2" "$1/pkg" >/dev/null
}
# run_single FILE TRACE ARGS...: runs the single file FILE from its own folder
# with /LOG=TRACE and ARGS (120 s at most); exit code in SETUP_RC.
run_single() {
  local file=$1 trace=$2; shift 2
  rm -f "$trace"
  (cd "$(dirname "$file")" && exec timeout -k 5 120 "$WINE" "$(basename "$file")" "/LOG=$(zpath "$trace")" "$@") \
    >/dev/null 2>"$trace.wine"
  SETUP_RC=$?
}
unpacked() { upath "$(trace_value "$1" kPackageUnpacked)"; }
tree_of() { (cd "$1" && find . -type f -exec md5sum {} + | LC_ALL=C sort -k 2); }
package_folders() { find "$TEMP_DIR" -maxdepth 1 -name 'cvpk*' 2>/dev/null | sort; }
no_crash() {  # TRACE: the run ended by itself: its exit code logged, no debugger started
  grep -q "^$(trace_name kExitCode)=" "$1" || { echo "no exit code in $1"; return 1; }
  ! grep -iE 'unhandled|winedbg|page fault' "$1.wine"
}
remove_product() { timeout -k 5 120 "$WINE" 'C:\windows\cvexec.exe' /S "$CODE" >/dev/null 2>&1; }

rm -rf "$ROOT"; reg_delete "$UNINSTALL_KEY"
# Unattended: a repair the uninstaller starts runs to its end by itself.
P=$S/project; project "$P" "$ALL_SYSTEMS"'[BUILDING]\r\n2=Yes\r\n'

mkdir -p "$S/download"
single "$S" "$P" 'download/Single Setup.exe'
SINGLE=$S/download/Single\ Setup.exe
check single-written test -s "$SINGLE"

# ---- The folder package's install: what the single file must give ----------------
(cd "$S/pkg" && exec timeout -k 5 120 "$WINE" setup.exe /S '/D=C:\Corvane' 'Single\From' 'Folder') >/dev/null 2>&1
check single-folder-package-exit-0 test $? -eq 0
tree_of "$ROOT/From Folder" >"$S/folder.tree"
remove_product
check single-folder-package-removed not_exists "$ROOT/From Folder/a.txt"

# ---- /S and /D= with blanks from the single file: the same files, nothing left after --
machine_snapshot "$S/before"
before_folders=$(package_folders)
export CV_RECORD_ACL="$(zpath "$S/acl.txt")"
# The folder comes unquoted, blanks and all, as the last switch.
run_single "$SINGLE" "$S/install.trace" /S '/D=C:\Corvane' 'Single\From' 'Single' 'File'
unset CV_RECORD_ACL
check single-install-exit-0 test "$SETUP_RC" -eq 0
check single-install-same-files same_file "$S/folder.tree" <(tree_of "$ROOT/From Single File")
check single-install-source-is-the-package eval \
  '[ "$(trace_value "$S/install.trace" kSourceFolder)" = "$(trace_value "$S/install.trace" kPackageUnpacked)" ]'
FOLDER=$(unpacked "$S/install.trace")
check single-package-folder-in-temp eval '[ -n "$FOLDER" ] && [[ "$FOLDER" == "$TEMP_DIR"/cvpk* ]]'
check single-package-folder-gone not_exists "$FOLDER"
check single-package-folder-removed-logged grep -q "^$(trace_name kPackageRemoved)=" "$S/install.trace"
check single-no-package-folder-left eval '[ "$(package_folders)" = "$before_folders" ]'
# While the setup ran, the add-on program in the package saw its folder
# private: the user, the administrators and the system, no one else; and
# every folder of it (the lines of the package's folders).
acl_lines=$(tr -d '\r' <"$S/acl.txt" 2>/dev/null | grep -iF "ACL:$(trace_value "$S/install.trace" kPackageUnpacked | sed 's/\\$//')")
private_acl() {
  [ "$(wc -l <<<"$acl_lines")" -eq 2 ] || { echo "acl lines: $acl_lines"; return 1; }
  local line trustees others
  while read -r line; do
    trustees=${line#*=}
    others=$(tr ' ' '\n' <<<"$trustees" | grep -vxE 'S-1-5-32-544|S-1-5-18|S-1-5-21-[0-9-]+')
    if [ -n "$others" ] || ! grep -q 'S-1-5-21-' <<<"$trustees"; then echo "not private: $line"; return 1; fi
  done <<<"$acl_lines"
  return 0
}
check single-package-folder-private private_acl
# The copy kept for modify and repair is a whole folder package's setup.
CACHE=$WINEPREFIX/drive_c/windows/Installer/$CODE/Setup
check single-cached-setup-is-the-shipped-one same_file "$S/pkg/setup.exe" "$CACHE/setup.exe"
check single-cached-project same_file "$S/pkg/setup.nsx" "$CACHE/setup.nsx"
check single-cache-names-the-single-file eval \
  '[ "$(cat "$CACHE/package.name")" = "Single Setup.exe" ] && [ ! -e "$CACHE/file1.cab" ]'

# ---- Repair as the list of programs starts it: the cabinet out of the single file ----
# maintain TRACE: the uninstaller's maintenance dialog for the product, Repair chosen.
maintain() {
  rm -f "$1"
  timeout -k 5 120 "$WINE" 'C:\windows\cvexec.exe' "/LOG=$(zpath "$1")" /M "$CODE" >/dev/null 2>&1 &
  local pid=$!
  drive answer 20000 Repair >/dev/null
  wait "$pid"; MAINTAIN_RC=$?
}
maintain "$S/repair.trace"
check single-repair-exit-0 test "$MAINTAIN_RC" -eq 0
check single-repair-runs-the-kept-setup eventually 60 grep -q "^$(trace_name kExitCode)=0" "$S/repair.trace"
check single-repair-cabinet-from-the-single-file same_file "$S/pkg/file1.cab" "$CACHE/file1.cab"
# Without the single file in its folder: refused, nothing run, the cache as it was.
rm -f "$CACHE/file1.cab"
mv "$SINGLE" "$S/away.exe"
timeout -k 5 120 "$WINE" 'C:\windows\cvexec.exe' "/LOG=$(zpath "$S/refused-repair.trace")" /M "$CODE" >/dev/null 2>&1 &
pid=$!
drive answer 20000 Repair >/dev/null
drive dialog 20000 'Single Product' >"$S/refused-repair.box"
wait "$pid"; rc=$?
mv "$S/away.exe" "$SINGLE"
check single-repair-without-the-single-file-refused eval \
  '[ "$rc" -eq 6 ] && [ ! -e "$CACHE/file1.cab" ] && [ ! -e "$CACHE/file1.cab.part" ]'
check single-repair-refusal-traced grep -q 'single file for repair' "$S/refused-repair.trace"
remove_product
check single-removal-exit-0 test $? -eq 0
machine_snapshot "$S/after"
check single-removal-leaves-nothing same_machine "$S/before" "$S/after" '\./windows/cvexec\.exe$|\./Corvane Single$'

# ---- Exit codes passed through: a refused machine (2), a refused command line (5) -------
Q=$S/refusing; project "$Q" '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=No\r\n'
mkdir -p "$S/refusing-out"
single "$S/refusing-out" "$Q" refusing.exe
run_single "$S/refusing-out/refusing.exe" "$S/refused.trace" /S
check single-refused-exit-2 test "$SETUP_RC" -eq 2
check single-refused-package-folder-gone eval \
  'f=$(unpacked "$S/refused.trace"); [ -n "$f" ] && not_exists "$f"'
# A folder package whose engine a tool left data after: it runs its folder.
cp -r "$S/refusing-out/pkg" "$S/odd-pkg"; printf 'left by a tool' >>"$S/odd-pkg/setup.exe"
run_single "$S/odd-pkg/setup.exe" "$S/odd.trace" /S
check single-folder-engine-with-data-after-it-runs-its-folder test "$SETUP_RC" -eq 2
run_single "$SINGLE" "$S/badline.trace" /S /BOGUS
check single-bad-command-line-exit-5 test "$SETUP_RC" -eq 5
check single-bad-command-line-unpacked-nothing eval \
  '! grep -q "^$(trace_name kPackageUnpacked)=" "$S/badline.trace" && [ "$(package_folders)" = "$before_folders" ]'

# ---- Damaged files: cut short, a byte changed in the middle of the block ----------------
engine_size=$(stat -c %s "$SETUP_EXE"); single_size=$(stat -c %s "$SINGLE")
middle=$(( (engine_size + single_size) / 2 ))
mkdir -p "$S/damaged"
head -c "$middle" "$SINGLE" >"$S/damaged/truncated.exe"
cp "$SINGLE" "$S/damaged/flipped.exe"
byte=$(od -An -tu1 -j "$middle" -N1 "$SINGLE" | tr -d ' ')
printf "\\$(printf '%03o' $(( byte ^ 1 )))" | dd of="$S/damaged/flipped.exe" bs=1 seek="$middle" conv=notrunc 2>/dev/null
check single-flipped-differs-by-one-byte eval '[ "$(cmp -l "$SINGLE" "$S/damaged/flipped.exe" | wc -l)" -eq 1 ]'
for kind in truncated flipped; do
  run_single "$S/damaged/$kind.exe" "$S/$kind.trace" /S
  check "single-$kind-exit-4" test "$SETUP_RC" -eq 4
  check "single-$kind-logged" grep -q "^$(trace_name kPackageDamaged)=" "$S/$kind.trace"
  check "single-$kind-no-crash" no_crash "$S/$kind.trace"
  check "single-$kind-ran-nothing" eval '! grep -q "^step " "$S/$kind.trace" && [ "$(package_folders)" = "$before_folders" ]'
done
# An interactive run says so in a box, then ends with 4.
rm -f "$S/box.trace"
(cd "$S/damaged" && exec timeout -k 5 60 "$WINE" flipped.exe "/LOG=$(zpath "$S/box.trace")") >/dev/null 2>"$S/box.trace.wine" &
SETUP_PID=$!
drive dialog 20000 >"$S/box.txt"
wait_setup
check single-damaged-box-shown grep -q '^TEXT:This setup file is damaged and cannot run' "$S/box.txt"
check single-damaged-box-exit-4 test "$SETUP_RC" -eq 4
check single-damaged-box-no-crash no_crash "$S/box.trace"

rm -rf "$ROOT"; reg_delete "$UNINSTALL_KEY"
