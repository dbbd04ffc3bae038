#!/usr/bin/env bash
# Cabinet extraction under Wine with cabinets made by gcab (stored and MSZIP),
# some patched after the fact (stored names, attribute bytes, truncation), run
# through cvcabtest.exe: contents byte for byte, flattening of sub-folders,
# payload files grouped into sub-folders, dates, attributes, progress and the
# status codes.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
CABTEST="$CV_WIN/tests/cvcabtest.exe"

# ---- helpers -------------------------------------------------------------------

# extract NAME CABINET [--bar]: extracts into $S/NAME.out; the report lands in
# $S/NAME.txt and the exit code in $S/NAME.rc.
extract() {
  local name=$1 cab=$2; shift 2
  mkdir -p "$S/$name.out"
  wine_run 60 "$CABTEST" "$(zpath "$cab")" "$(zpath "$S/$name.out")\\" "$@" 2>/dev/null |
    tr -d '\r' >"$S/$name.txt"
  echo "${PIPESTATUS[0]}" >"$S/$name.rc"
}
has_line() { grep -qxF -- "$2" "$1" || { echo "no line '$2' in $1:"; cat "$1"; return 1; }; }
no_line_starting() { ! grep -q "^$2" "$1" || { grep "^$2" "$1"; return 1; }; }
rc_is() { [ "$(cat "$S/$1.rc")" = "$2" ] || { echo "rc $(cat "$S/$1.rc"), expected $2"; return 1; }; }
# Field (attr, write, create, size) of a file in a report.
field() { sed -n "s|^file $2 .*\b$3=\([^ ]*\).*|\1|p" "$1"; }
files_in() { find "$1" -mindepth 1 -type f | wc -l; }
export -f files_in  # used inside "bash -c" checks

# Where a file of that bare name is extracted to, relative to the output
# folder: payload files ("F<number>_...") in groups of 128 numbers under
# "cvp<number / 128>", every other file directly in the folder.
extracted_rel() {
  if [[ $1 =~ ^F([0-9]{1,9})_ ]]; then echo "cvp$(( 10#${BASH_REMATCH[1]} / 128 ))/$1"; else echo "$1"; fi
}

# Every file arrives byte for byte under its bare name, in its group folder
# when it is a payload file, and nothing else.
same_extracted_tree() {  # OUT FILES...
  local out=$1 f; shift
  for f in "$@"; do cmp "$P/$f" "$out/$(extracted_rel "$(basename "$f")")" || return 1; done
  [ "$(files_in "$out")" -eq $# ] || { find "$out" -ls; return 1; }
}
# The only folders made are payload groups.
only_group_folders() {  # REPORT
  ! grep '^dir ' "$1" | grep -vxE 'dir cvp[0-9]+' || return 1
}
# Modification times of the extracted files equal the source files', as
# seen by Linux and as the Windows side reports them (write and creation).
same_times() {  # NAME FILES...
  local name=$1 f b want; shift
  for f in "$@"; do
    b=$(extracted_rel "$(basename "$f")"); want=$(stat -c %Y "$P/$f")
    [ "$(stat -c %Y "$S/$name.out/$b")" = "$want" ] || { echo "$b: mtime $(stat -c %Y "$S/$name.out/$b") != $want"; return 1; }
    [ "$(field "$S/$name.txt" "$b" write)" = "$want" ] || { echo "$b: write"; return 1; }
    [ "$(field "$S/$name.txt" "$b" create)" = "$want" ] || { echo "$b: create"; return 1; }
  done
}

# patch_attribs CABINET NAME=HEX...: sets the attribute word of the named file entries.
patch_attribs() {
  perl -e '
    my $cab = shift;
    my %want = map { my ($n, $v) = split /=/; ($n, hex $v) } @ARGV;
    open my $fh, "+<:raw", $cab or die "$cab: $!";
    local $/; my $d = <$fh>;
    my $p = unpack "V", substr($d, 16, 4);   # first file entry
    my $n = unpack "v", substr($d, 28, 2);   # file count
    for (1 .. $n) {
      my $end = index($d, "\0", $p + 16);
      my $name = substr($d, $p + 16, $end - $p - 16);
      if (exists $want{$name}) { substr($d, $p + 14, 2) = pack "v", $want{$name}; delete $want{$name}; }
      $p = $end + 1;
    }
    die "not in the cabinet: @{[keys %want]}\n" if %want;
    seek $fh, 0, 0; print $fh $d; close $fh;' "$@"
}
# patch_name CABINET FROM TO: replaces a stored name by another of the same length.
patch_name() {
  perl -e '
    my ($cab, $from, $to) = @ARGV;
    die "lengths differ\n" if length $from != length $to;
    open my $fh, "+<:raw", $cab or die "$cab: $!";
    local $/; my $d = <$fh>;
    my $i = index($d, "$from\0"); die "$from not found\n" if $i < 0;
    substr($d, $i, length $from) = $to;
    seek $fh, 0, 0; print $fh $d; close $fh;' "$@"
}

# ---- payload -------------------------------------------------------------------

P=$S/payload
mkdir -p "$P/sub/deeper" "$P/other" "$P/one" "$P/two" "$P/zz/zz" "$P/yy" "$P/ww"
head -c 5000 /dev/urandom >"$P/F0_small.bin"
head -c 300000 /dev/urandom >"$P/sub/deeper/F1_big.bin"
printf 'line one\r\nline two\r\n' >"$P/other/F2_text.txt"
: >"$P/F3_empty.txt"
printf '[APPINFO]\r\n' >"$P/setup.inf"
touch -d '2021-03-04 05:06:08' "$P/F0_small.bin"
touch -d '1999-12-31 23:59:58' "$P/sub/deeper/F1_big.bin"
touch -d '2010-07-15 12:00:00' "$P/other/F2_text.txt"
touch -d '2038-01-01 00:00:02' "$P/F3_empty.txt"
touch -d '1980-01-01 00:00:00' "$P/setup.inf"
FILES=(F0_small.bin sub/deeper/F1_big.bin other/F2_text.txt F3_empty.txt setup.inf)
(cd "$P" && gcab -c "$S/stored.cab" "${FILES[@]}" && gcab -c -z "$S/mszip.cab" "${FILES[@]}")

# ---- stored and MSZIP cabinets ---------------------------------------------------

check cab-gcab-keeps-folders-in-names bash -c "gcab -t '$S/stored.cab' | grep -qxF 'sub\\deeper\\F1_big.bin'"
for kind in stored mszip; do
  extract "$kind" "$S/$kind.cab"
  check "cab-$kind-status" has_line "$S/$kind.txt" 'status -1'
  check "cab-$kind-result" has_line "$S/$kind.txt" 'result 1'
  check "cab-$kind-exit-0" rc_is "$kind" 0
  check "cab-$kind-counts" bash -c "grep -qx 'extracted 5' '$S/$kind.txt' && grep -qx 'count 5' '$S/$kind.txt' && grep -qx 'skipped 0' '$S/$kind.txt'"
  check "cab-$kind-contents-flattened" same_extracted_tree "$S/$kind.out" "${FILES[@]}"
  check "cab-$kind-no-folders-but-payload-groups" only_group_folders "$S/$kind.txt"
  check "cab-$kind-payload-group-0" has_line "$S/$kind.txt" 'dir cvp0'
  check "cab-$kind-dates" same_times "$kind" "${FILES[@]}"
  check "cab-$kind-gcab-archive-attribute" bash -c "[ \"\$(grep -c '^file .* attr=0x20 ' '$S/$kind.txt')\" -eq 5 ]"
  check "cab-$kind-progress-range" has_line "$S/$kind.txt" 'range 5'
  check "cab-$kind-progress-steps" bash -c "[ \"\$(grep '^position' '$S/$kind.txt' | tr '\n' ' ')\" = 'position 1 position 2 position 3 position 4 position 5 ' ]"
done

# The same files as an independent extractor gives.
mkdir -p "$S/reference"
cabextract -q -d "$S/reference" "$S/mszip.cab" >/dev/null 2>&1
matches_reference() {
  local f; for f in "${FILES[@]}"; do cmp "$S/reference/$f" "$S/mszip.out/$(extracted_rel "$(basename "$f")")" || return 1; done
}
check cab-mszip-matches-cabextract matches_reference

# cvpack stores what compression would not shrink in a second folder, without
# compression, which extracts with a plain copy: the same files either way.
M=$S/mixed; mkdir -p "$M/payload" "$M/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$M/theme/"
head -c 300000 /dev/urandom >"$M/payload/random.bin"; cp "$P/other/F2_text.txt" "$M/payload/text.txt"
printf '[APPINFO]\r\na3={C0FFEE00-CAB0-MIXD}\r\n' >"$M/setup.inf"
printf 'payload/%s\r\nDestination Computer\\<InstallDir>\\*0*0*%d|\r\n' random.bin 1 text.txt 2 >"$M/data.inf"
"$CV_BUILD/native/tools/cvpack/cvpack" build --skip-check --engine "$CV_WIN/src/setup.exe" "$M" "$M.pkg" >/dev/null
folder_types() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(); print(" ".join(str(struct.unpack_from("<H",d,42+8*i)[0]) for i in range(struct.unpack_from("<H",d,26)[0])))' "$1"; }
check cab-cvpack-mszip-then-stored-folder test "$(folder_types "$M.pkg/file1.cab")" = '1 0'
extract mixed "$M.pkg/file1.cab"
mkdir -p "$S/mixed.reference"; cabextract -q -d "$S/mixed.reference" "$M.pkg/file1.cab" >/dev/null 2>&1
check cab-cvpack-mixed-extracted bash -c "cmp '$M/payload/random.bin' '$S/mixed.out/cvp0/F0_random.bin' &&
  cmp '$M/payload/text.txt' '$S/mixed.out/cvp0/F1_text.txt' && cmp '$S/mixed.reference/F0_random.bin' '$M/payload/random.bin' &&
  grep -qx 'count 3' '$S/mixed.txt'"

# A real progress bar fed by window messages from the worker thread.
extract bar "$S/mszip.cab" --bar
check cab-bar-range has_line "$S/bar.txt" 'bar-range 0 5'
check cab-bar-position has_line "$S/bar.txt" 'bar-pos 5'
check cab-bar-status has_line "$S/bar.txt" 'status -1'

# ---- names -----------------------------------------------------------------------

# Two files of one bare name: the later one wins.
printf 'the longer, earlier content\n' >"$P/one/same.txt"
printf 'later\n' >"$P/two/same.txt"
(cd "$P" && gcab -c -z "$S/dup.cab" one/same.txt two/same.txt)
extract dup "$S/dup.cab"
check cab-duplicate-later-wins same_file "$P/two/same.txt" "$S/dup.out/same.txt"
check cab-duplicate-one-file bash -c "[ \"\$(files_in '$S/dup.out')\" -eq 1 ]"

# Stored names reaching outside the folder are cut to their bare names;
# names that are no file names are skipped, and then the extraction fails.
printf 'e1' >"$P/zz/zz/escape1.txt"
printf 'e2' >"$P/QQescape2.txt"
printf 'e3' >"$P/ww/escape3.txt"
printf 'dev' >"$P/yy/CON"
printf 'dots' >"$P/yy/ab"
printf 'ok' >"$P/ok.txt"
(cd "$P" && gcab -c "$S/names.cab" zz/zz/escape1.txt QQescape2.txt ww/escape3.txt yy/CON yy/ab ok.txt)
patch_name "$S/names.cab" 'zz\zz\escape1.txt' '..\..\escape1.txt'
patch_name "$S/names.cab" 'QQescape2.txt' 'C:escape2.txt'
patch_name "$S/names.cab" 'ww\escape3.txt' '\\\escape3.txt'
patch_name "$S/names.cab" 'yy\ab' 'yy\..'
check cab-names-patched bash -c "gcab -t '$S/names.cab' | grep -qxF '..\\..\\escape1.txt'"
mkdir -p "$S/deep/er"
extract names "$S/names.cab"
check cab-names-status has_line "$S/names.txt" 'status 4'
check cab-names-counts bash -c "grep -qx 'extracted 4' '$S/names.txt' && grep -qx 'skipped 2' '$S/names.txt'"
check cab-names-escape1-inside same_file "$P/zz/zz/escape1.txt" "$S/names.out/escape1.txt"
check cab-names-escape2-inside same_file "$P/QQescape2.txt" "$S/names.out/escape2.txt"
check cab-names-escape3-inside same_file "$P/ww/escape3.txt" "$S/names.out/escape3.txt"
check cab-names-nothing-outside bash -c "! find '$S' '$(dirname "$S")' '$WINEPREFIX/drive_c' '$PWD' / -maxdepth 1 -name 'escape*' | grep -q ."
check cab-names-device-and-dots-skipped bash -c "[ \"\$(files_in '$S/names.out')\" -eq 4 ] && [ -e '$S/names.out/ok.txt' ]"
check cab-names-progress-counts-skipped has_line "$S/names.txt" 'position 6'

# ---- attributes -------------------------------------------------------------------

for f in ro hid sys all exec none; do printf '%s' "$f" >"$P/$f.txt"; done
(cd "$P" && gcab -c -z "$S/attr.cab" ro.txt hid.txt sys.txt all.txt exec.txt none.txt)
patch_attribs "$S/attr.cab" ro.txt=21 hid.txt=02 sys.txt=04 all.txt=27 exec.txt=60 none.txt=00
check cab-attr-patched bash -c "gcab -l '$S/attr.cab' | grep -q '^hid.txt .* 0x2$'"
extract attr "$S/attr.cab"
check cab-attr-status has_line "$S/attr.txt" 'status -1'
# Wine reports the archive bit on every file: only the other bits are exact.
attr_is() {  # FILE EXPECTED_WITHOUT_ARCHIVE
  local a; a=$(field "$S/attr.txt" "$1" attr)
  [ $(( a & 0x07 )) -eq $(( $2 )) ] && [ $(( a & 0x40 )) -eq 0 ] || { echo "$1: attr $a"; return 1; }
}
check cab-attr-read-only attr_is ro.txt 0x01
check cab-attr-hidden attr_is hid.txt 0x02
check cab-attr-system attr_is sys.txt 0x04
check cab-attr-all attr_is all.txt 0x07
check cab-attr-exec-bit-dropped attr_is exec.txt 0x00
check cab-attr-none attr_is none.txt 0x00
check cab-attr-read-only-by-attrib bash -c "'$WINE' cmd /c attrib '$(zpath "$S/attr.out/ro.txt")' 2>/dev/null | tr -d '\r' | grep -q '^A *R '"
check cab-attr-contents same_file "$P/ro.txt" "$S/attr.out/ro.txt"

# ---- empty, missing, foreign, damaged ----------------------------------------------

# A cabinet with one folder and no files (gcab refuses to write one): header
# "MSCF", size 44, files at 44, version 1.3, 1 folder, 0 files; folder entry
# with no data blocks.
printf 'MSCF\0\0\0\0\054\0\0\0\0\0\0\0\054\0\0\0\0\0\0\0\003\001\001\0\0\0\0\0\064\022\0\0\054\0\0\0\0\0\0\0' >"$S/empty.cab"
extract empty "$S/empty.cab"
check cab-empty-succeeds has_line "$S/empty.txt" 'status -1'
check cab-empty-range-0 has_line "$S/empty.txt" 'range 0'
check cab-empty-count-0 has_line "$S/empty.txt" 'count 0'
check cab-empty-no-files bash -c "[ \"\$(files_in '$S/empty.out')\" -eq 0 ]"

extract missing "$S/no-such.cab"
check cab-missing-status-2 has_line "$S/missing.txt" 'status 2'
check cab-missing-exit-2 rc_is missing 2
check cab-missing-nothing-extracted bash -c "[ \"\$(files_in '$S/missing.out')\" -eq 0 ]"
check cab-missing-no-range no_line_starting "$S/missing.txt" 'range'

printf 'PK\003\004 this is a zip-looking text, not a cabinet\n' >"$S/foreign.cab"
extract foreign "$S/foreign.cab"
check cab-foreign-status-3 has_line "$S/foreign.txt" 'status 3'
check cab-foreign-exit-3 rc_is foreign 3
check cab-foreign-nothing-extracted bash -c "[ \"\$(files_in '$S/foreign.out')\" -eq 0 ]"

size=$(stat -c %s "$S/mszip.cab")
head -c $(( size / 2 )) "$S/mszip.cab" >"$S/truncated.cab"
extract truncated "$S/truncated.cab"
check cab-truncated-status-4 has_line "$S/truncated.txt" 'status 4'
check cab-truncated-result-0 has_line "$S/truncated.txt" 'result 0'
check cab-truncated-first-file-complete same_file "$P/F0_small.bin" "$S/truncated.out/cvp0/F0_small.bin"
check cab-truncated-no-partial-file not_exists "$S/truncated.out/cvp0/F1_big.bin"

# Damaged data in the middle of the compressed stream.
cp "$S/mszip.cab" "$S/damaged.cab"
printf '\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377' |
  dd of="$S/damaged.cab" bs=1 seek=$(( size / 3 )) conv=notrunc 2>/dev/null
extract damaged "$S/damaged.cab"
check cab-damaged-status-4 has_line "$S/damaged.txt" 'status 4'
check cab-damaged-no-partial-file not_exists "$S/damaged.out/cvp0/F1_big.bin"

# An output folder that does not exist: the first file cannot be created.
wine_run 60 "$CABTEST" "$(zpath "$S/stored.cab")" "$(zpath "$S/absent")\\" 2>/dev/null | tr -d '\r' >"$S/absent.txt"
check cab-absent-output-folder-status-4 has_line "$S/absent.txt" 'status 4'
