#!/usr/bin/env bash
# Web items over https, with a certificate authority made for this run and
# trusted in the test prefix only (tests/tools/addroot.cpp): a transfer from
# a server it vouches for (the server's certificate for "localhost", sent
# with the authority's) shows its progress and is installed; a server whose
# certificate nobody vouches for is refused (12045 in the diagnostic log), as
# is a redirect from https down to plain http. Other answers of a server are
# tested in-process (tests/win/download/download_test.cpp).
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# ---- The authority, the server's certificate it signs, and one nobody signs ----
make_certificates() (
  cd "$S" || return 1
  openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Corvane Test Authority" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" &&
  openssl req -newkey rsa:2048 -nodes -keyout leaf.key -out leaf.csr -subj "/CN=localhost" &&
  printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n' >leaf.ext &&
  openssl x509 -req -in leaf.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out leaf.pem -days 2 -extfile leaf.ext &&
  cat leaf.pem ca.pem >chain.pem &&
  openssl x509 -in ca.pem -outform DER -out ca.der &&
  openssl req -x509 -newkey rsa:2048 -nodes -keyout rogue.key -out rogue.pem -days 2 -subj "/CN=localhost" \
    -addext "subjectAltName=DNS:localhost"
)
check https-certificates-made make_certificates
check https-authority-trusted-in-prefix "$WINE" "$CV_WIN/tests/addroot.exe" "$(zpath "$S/ca.der")"

# ---- The servers, stopped when this script ends (and in any case after 90 s) ----
PIDS=()
trap 'kill "${PIDS[@]}" 2>/dev/null; wait "${PIDS[@]}" 2>/dev/null' EXIT
serve() {  # NAME ARGS...: its port in $S/NAME.port
  python3 "$CV_ROOT/tests/tools/httpserver.py" "$S/$1.port" --limit 90 "${@:2}" &
  PIDS+=($!)
}
serve trusted --cert "$S/chain.pem" --key "$S/leaf.key" --rate 1000000
serve rogue --cert "$S/rogue.pem" --key "$S/rogue.key"
serve plain
for n in trusted rogue plain; do for _ in $(seq 50); do [ -s "$S/$n.port" ] && break; sleep 0.1; done; done
TRUSTED="https://localhost:$(cat "$S/trusted.port")"
ROGUE="https://localhost:$(cat "$S/rogue.port")"
PLAIN="http://127.0.0.1:$(cat "$S/plain.port")"

CODE='{C0FFEE00-HTTP-SAFE}'
DEST=$WINEPREFIX/drive_c/CorvaneHttps
settings() {  # [extra lines]
  printf '[APPINFO]\r\na1=Https Product\r\na2=1.0\r\na3=%s\r\na4=C:\\CorvaneHttps\r\n' "$CODE"
  printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n%b%b' "$ALL_SYSTEMS" "${1:-}"
}
record() { printf '%s\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' "$1"; }
project() {  # DIR SETTINGS <RECORDS: a packed project of web items in $S/DIR-pkg
  local P=$S/$1; mkdir -p "$P/theme"; cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
  settings "$2" >"$P/setup.inf"
  cat >"$P/data.inf"
  pack_project "$P" "$P-pkg"
}
QUIET='[BUILDING]\r\n2=Yes\r\n'
failed_line() { tr -d '\r' <"$1" | grep -F "$(trace_name kDownloadFailed)=$2"; }

# ---- A trusted server: the progress page shows the transfer, the file is installed ----
BIG=3145728
python3 -c "import sys; sys.path.insert(0, '$CV_ROOT/tests/tools'); import httpserver
sys.stdout.buffer.write(httpserver.pattern($BIG))" >"$S/expected.bin"
SHA=$(sha256sum "$S/expected.bin" | cut -d' ' -f1)
record "$TRUSTED/$BIG.bin#sha256=$SHA" | project good ''
THEME=$S/good-pkg/theme
rm -rf "$DEST"
start_packed "$S/good-pkg" "$S/good.trace" 60
estimate_shown() {
  text_of progress.lcd IDC_INFO | grep -Eq '^Estimated time left: .* of 3\.00 MB copied\) - '
}
check https-progress-shown eventually 20 estimate_shown
check https-complete-page on_page complete.lcd 30000
click complete.lcd IDC_FINISH
wait_setup
check https-trusted-exit-0 test "$SETUP_RC" -eq 0
check https-trusted-file-installed same_file "$S/expected.bin" "$DEST/$BIG.bin"

# ---- A certificate nobody trusted: refused, and the log says why ------------------
record "$ROGUE/1000.bin" | project rogue "$QUIET"
rm -rf "$DEST"
start_packed "$S/rogue-pkg" "$S/rogue.trace" 60
wait_setup
check https-untrusted-exit-1 test "$SETUP_RC" -eq 1
check https-untrusted-no-file not_exists "$DEST/1000.bin"
check https-untrusted-12045-logged eval 'failed_line "$S/rogue.trace" "$ROGUE/1000.bin: error 12045: "'

# ---- A redirect from https down to http: refused before anything is asked there ----
record "$TRUSTED/to/$PLAIN/1000.bin" | project down "$QUIET"
rm -rf "$DEST"
start_packed "$S/down-pkg" "$S/down.trace" 60
wait_setup
check https-downgrade-exit-1 test "$SETUP_RC" -eq 1
check https-downgrade-no-file not_exists "$DEST/1000.bin"
check https-downgrade-logged eval \
  'failed_line "$S/down.trace" "$TRUSTED/to/$PLAIN/1000.bin: status 302: The server sent the download on to an address the setup does not follow: $PLAIN/1000.bin"'
