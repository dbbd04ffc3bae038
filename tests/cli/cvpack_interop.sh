#!/usr/bin/env bash
# cvpack against independent tools: containers made by sha256sum and openssl
# decrypt with cvpack and the other way round; a built folder as cabextract
# and openssl see it; errors and exit codes.
source "$(dirname "$0")/../lib.sh"
S=$(scratch_dir)
CVPACK=$CV_NATIVE/tools/cvpack/cvpack

# Project parameters: the 14 key-data bytes repeated to a 16-byte AES key;
# the signature is SHA-256 of "RIJNDAEL" + key + "161600".
KEY_TEXT='.p..ul.%.58190.p'
KEY_HEX=$(printf '%s' "$KEY_TEXT" | od -An -tx1 | tr -d ' \n')
SIGNATURE_HEX=$(printf '%s' "RIJNDAEL${KEY_TEXT}161600" | sha256sum | cut -c1-64)

hex_to_bytes() { local h=$1; while [ -n "$h" ]; do printf "\\x${h:0:2}"; h=${h:2}; done; }

# The file followed by zero bytes up to a multiple of 16.
zero_padded() {
  local size; size=$(stat -c %s "$1")
  cat "$1"; head -c $(( (16 - size % 16) % 16 )) /dev/zero
}

# make_container PLAIN CONTAINER: what cvpack encrypt should write, without cvpack.
make_container() {
  { hex_to_bytes "$SIGNATURE_HEX"
    zero_padded "$1" | openssl enc -aes-128-ecb -nopad -K "$KEY_HEX"; } >"$2"
}

# open_container CONTAINER PLAIN: the body decrypted by openssl; fails on a wrong signature.
open_container() {
  cmp -s <(head -c 32 "$1") <(hex_to_bytes "$SIGNATURE_HEX") || { echo "signature differs"; return 1; }
  tail -c +33 "$1" | openssl enc -d -aes-128-ecb -nopad -K "$KEY_HEX" >"$2"
}

# fails_with EXPECTED_STATUS STDERR_TEXT COMMAND...: exit status and stderr text.
fails_with() {
  local want=$1 text=$2; shift 2
  "$@" 2>"$S/stderr.txt"; local rc=$?
  cat "$S/stderr.txt"
  [ "$rc" -eq "$want" ] && grep -qF -- "$text" "$S/stderr.txt"
}

printf '[APPINFO]\r\na1=Interop Product\r\na2=1.0\r\n' >"$S/setup.inf"
# Ends in a byte that is not zero: decryption drops trailing zero bytes.
{ head -c 999 /dev/urandom; printf 'x'; } >"$S/random.bin"
printf 'exactly sixteen!' >"$S/sixteen.txt"
: >"$S/empty.txt"

# Containers made by openssl decrypt with cvpack to the plain text as it
# was, without the zero bytes that padded it to whole blocks.
for f in setup.inf random.bin sixteen.txt empty.txt; do
  make_container "$S/$f" "$S/$f.ossl.nsx"
  check "cvpack-decrypts-openssl-container-$f" \
    bash -c '"$1" decrypt "$2" "$3" && cmp "$3" "$4"' _ "$CVPACK" "$S/$f.ossl.nsx" "$S/$f.cvpack.out" "$S/$f"
done

# Containers made by cvpack are what openssl expects.
for f in setup.inf random.bin sixteen.txt empty.txt; do
  check "cvpack-container-opens-with-openssl-$f" \
    bash -c '"$1" encrypt "$2" "$3"' _ "$CVPACK" "$S/$f" "$S/$f.cvpack.nsx"
  check "cvpack-container-matches-openssl-$f" same_file "$S/$f.cvpack.nsx" "$S/$f.ossl.nsx"
  open_container "$S/$f.cvpack.nsx" "$S/$f.ossl.out" >>"$CV_LOG" 2>&1
  check "cvpack-container-body-is-padded-plaintext-$f" same_file "$S/$f.ossl.out" <(zero_padded "$S/$f")
done

# A file that is no container: exit 1, the cipher's message, no output left.
check cvpack-decrypt-wrong-container-exit-1 \
  fails_with 1 "FileCrypt ERROR: File $S/random.bin cannot be Correctly Decrypted!" \
  "$CVPACK" decrypt "$S/random.bin" "$S/wrong.out"
check cvpack-decrypt-wrong-container-no-output not_exists "$S/wrong.out"
check cvpack-decrypt-missing-input-exit-1 \
  fails_with 1 "FileCrypt ERROR: Cannot open File $S/none.nsx!" "$CVPACK" decrypt "$S/none.nsx" "$S/none.out"
check cvpack-usage-exit-2 fails_with 2 "usage: cvpack" "$CVPACK" decrypt "$S/setup.inf"
check cvpack-version bash -c '[ "$("$1" --version)" = "cvpack $(sed -n "s/^project(corvane VERSION \([0-9.]*\) .*/\1/p" "$2")" ]' \
  _ "$CVPACK" "$CV_ROOT/CMakeLists.txt"
check cvpack-version-takes-no-arguments fails_with 2 "usage: cvpack" "$CVPACK" --version extra
check cvpack-unknown-command-exit-2 fails_with 2 "usage: cvpack" "$CVPACK" frobnicate

# A small project built into a shipping folder (not a whole setup: unchecked).
P=$S/project
mkdir -p "$P/theme" "$P/bin" "$P/working"
cp "$S/setup.inf" "$P/setup.inf"
printf 'MZ demo' >"$P/bin/demo.exe"
printf 'license text' >"$P/working/license.txt"
printf '[DIALOG]\r\n' >"$P/theme/welcome.lcd"
printf 'bin/demo.exe\nDestination Computer\\<InstallDir>\\*0*0*1|Main\nftp://mirror.example/add.zip\nDestination Computer\\<InstallDir>\\*0*0*2|\n' >"$P/data.inf"
printf 'bin/demo.exe\r\nDestination Computer\\<InstallDir>\\*0*0*1|Main\r\nftp://mirror.example/add.zip\r\nDestination Computer\\<InstallDir>\\*0*0*2|\r\n' >"$S/data.crlf"

# The engine a build ships: the Windows build's, which cvpack stamps with the
# product's name (no program is no engine it can stamp).
ENGINE=$S/engine/setup.exe
mkdir -p "$S/engine"
cp "$CV_WIN/src/setup.exe" "$ENGINE"

# No uninstaller beside the engine: refused, with nothing written, unless the
# author says the product is to ship without one.
check cvpack-build-without-uninstaller-exit-1 \
  fails_with 1 "cvpack: error: no cvexec.exe found (use --uninstaller, or --no-uninstaller to ship a product that cannot be removed)" \
  "$CVPACK" build --skip-check --engine "$ENGINE" "$P" "$S/out"
check cvpack-build-without-uninstaller-writes-nothing \
  bash -c '! ls -d "$1" "$1".tmp-* 2>/dev/null' _ "$S/out"
check cvpack-build-both-uninstaller-options-exit-2 fails_with 2 "exclude each other" \
  "$CVPACK" build --uninstaller "$P/bin/demo.exe" --no-uninstaller "$P" "$S/out"
check cvpack-build-succeeds "$CVPACK" build --skip-check --engine "$ENGINE" --no-uninstaller "$P" "$S/out"
check cvpack-build-no-uninstaller-warns \
  bash -c '"$1" build --skip-check --engine "$2" --no-uninstaller "$3" "$4" 2>&1 >/dev/null | grep -qF "warning: no cvexec.exe shipped"' \
  _ "$CVPACK" "$ENGINE" "$P" "$S/out"
open_container "$S/out/data.nsx" "$S/data.ossl" >>"$CV_LOG" 2>&1
check cvpack-build-data-list-crlf same_file "$S/data.ossl" <(zero_padded "$S/data.crlf")
open_container "$S/out/setup.nsx" "$S/setup.ossl" >>"$CV_LOG" 2>&1
check cvpack-build-settings same_file "$S/setup.ossl" <(zero_padded "$S/setup.inf")
cabextract -l "$S/out/file1.cab" >"$S/cab.list" 2>&1
check cvpack-build-cabinet-payload contains "$S/cab.list" "| F0_demo.exe"
check cvpack-build-cabinet-working-file contains "$S/cab.list" "| license.txt"
check cvpack-build-cabinet-lists-cleanly contains "$S/cab.list" "All done, no errors."
check cvpack-build-theme-copied same_file "$S/out/theme/welcome.lcd" "$P/theme/welcome.lcd"
# The shipped engine as wrestool (icoutils) reads it: the product's version resource.
wrestool -x --raw --type=16 "$S/out/setup.exe" 2>>"$CV_LOG" | tr -d '\0' >"$S/version.txt"
check cvpack-build-engine-names-the-product contains "$S/version.txt" "Interop Product Setup"
check cvpack-build-engine-version-text contains "$S/version.txt" "ProductVersion"
check cvpack-build-engine-still-a-program bash -c 'x86_64-w64-mingw32-objdump -p "$1" | grep -q "Resource Directory \[.rsrc\]"' _ "$S/out/setup.exe"

# The built folder listed back: the product, and the payload file's size as stored.
"$CVPACK" list "$S/out" >"$S/list.txt" 2>&1
check cvpack-list-product contains "$S/list.txt" "Product name:    Interop Product"
check cvpack-list-payload-size contains "$S/list.txt" "size: 7 bytes; flags: 0 (none)"
check cvpack-list-web-item contains "$S/list.txt" "web item: ftp://mirror.example/add.zip"
cp -r "$S/out" "$S/cut"
head -c 50 "$S/out/file1.cab" >"$S/cut/file1.cab"
check cvpack-list-truncated-cabinet-exit-1 fails_with 1 "file1.cab: truncated" "$CVPACK" list "$S/cut"

# A missing payload file: exit 1 naming data.inf and the line; the old output stays.
rm "$P/bin/demo.exe"
check cvpack-build-missing-payload-exit-1 \
  fails_with 1 "data.inf:1: payload file not found" "$CVPACK" build --skip-check --engine "$S/out/setup.exe" --no-uninstaller "$P" "$S/out"
check cvpack-build-failure-keeps-old-output test -f "$S/out/file1.cab"
check cvpack-build-failure-leaves-no-temporary \
  bash -c '! ls -d "$1".tmp-* "$1".old-* 2>/dev/null' _ "$S/out"
