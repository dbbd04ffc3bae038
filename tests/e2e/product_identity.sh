#!/usr/bin/env bash
# The shipped setup.exe shows the author's product, not the engine: Windows
# reads its version texts (written in the project's code page, 1252) and its
# icon (the project's: red, 48, 32 and 16 pixels, where the engine's own has
# 32 and 16) from both the per-machine and the per-user engine cvpack ships,
# and the stamped program still installs.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
IDENTITY="$CV_WIN/tests/fileidentity.exe"

DEST=$WINEPREFIX/drive_c/CorvaneIdentity/App
P=$S/proj; mkdir -p "$P/payload" "$P/art" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'one' >"$P/payload/one.txt"
printf 'payload\\one.txt\r\nDestination Computer\\<InstallDir>\\*0*0*|\r\n' >"$P/data.inf"
for n in 48 32 16; do convert -size ${n}x$n xc:'#C03020' "$S/$n.png"; done
convert "$S/48.png" "$S/32.png" "$S/16.png" "$P/art/product.ico"
# settings SCOPE: the project's settings, the product name in code page 1252.
settings() {
  printf '[APPINFO]\r\na1=Notizbl\xf6cke\r\na2=2.5.1 beta\r\na3={C0FFEE00-1D3N-TITY}\r\n'
  printf 'a4=C:\\CorvaneIdentity\\App\r\na8=%s\r\na19=Brenmark \xa9 Software\r\n' "$1"
  printf 'Copyright=(c) 2026 Brenmark\r\nSetupIcon=art/product.ico\r\n'
  printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n'
  printf "$ALL_SYSTEMS"
}

# identity_of NAME PACKAGE: what Windows reads of PACKAGE/setup.exe, into $S/NAME.id.
identity_of() {
  timeout -k 5 60 "$WINE" "$IDENTITY" "$(zpath "$2/setup.exe")" 2>>"$CV_LOG" | tr -d '\r' >"$S/$1.id"
  cat "$S/$1.id" >>"$CV_LOG"
}
for scope in All-Users Per-User; do
  settings "$scope" >"$P/setup.inf"
  "$CVPACK" build --engine "$SETUP_EXE" "$P" "$S/$scope" >/dev/null 2>"$S/$scope.err"
  check "identity-$scope-packed" test -f "$S/$scope/setup.exe"
  identity_of "$scope" "$S/$scope"
  check "identity-$scope-product-name" grep -qx 'ProductName=Notizblöcke' "$S/$scope.id"
  check "identity-$scope-description" grep -qx 'FileDescription=Notizblöcke Setup' "$S/$scope.id"
  check "identity-$scope-company" grep -qx 'CompanyName=Brenmark © Software' "$S/$scope.id"
  check "identity-$scope-version-texts" \
    bash -c "grep -qx 'ProductVersion=2.5.1 beta' '$S/$scope.id' && grep -qx 'FileVersion=2.5.1 beta' '$S/$scope.id'"
  check "identity-$scope-version-numbers" \
    bash -c "grep -qx 'FixedFileVersion=2.5.0.0' '$S/$scope.id' && grep -qx 'FixedProductVersion=2.5.0.0' '$S/$scope.id'"
  check "identity-$scope-copyright" grep -qx 'LegalCopyright=(c) 2026 Brenmark' "$S/$scope.id"
  check "identity-$scope-original-name" grep -qx 'OriginalFilename=setup.exe' "$S/$scope.id"
  check "identity-$scope-has-icons" bash -c "grep -q '^Icons=[1-9]' '$S/$scope.id'"
  check "identity-$scope-icon-is-the-projects" grep -qx 'Group=48x48,32x32,16x16' "$S/$scope.id"
  check "identity-$scope-icon-shows-the-projects" \
    bash -c "grep -qx 'IconSize=32x32' '$S/$scope.id' && grep -qx 'IconCentre=#C03020' '$S/$scope.id'"
done
# The engine itself is left as it was: its own name and icon.
identity_of engine "$(dirname "$SETUP_EXE")"
check identity-engine-unchanged \
  bash -c "grep -qx 'ProductName=Corvane Setup' '$S/engine.id' && grep -qx 'Group=32x32,16x16' '$S/engine.id'"

# Without a publisher or copyright those values are left out.
settings All-Users | grep -av '^a19=\|^Copyright=' >"$P/setup.inf"
"$CVPACK" build --engine "$SETUP_EXE" "$P" "$S/bare" >/dev/null 2>>"$CV_LOG"
identity_of bare "$S/bare"
check identity-no-publisher-no-company grep -qx 'CompanyName=<none>' "$S/bare.id"
check identity-no-copyright grep -qx 'LegalCopyright=<none>' "$S/bare.id"

# The stamped program still runs: an unattended installation.
rm -rf "$DEST"
(cd "$S/All-Users" && exec timeout -k 5 120 "$WINE" setup.exe /S "/LOG=$(zpath "$S/run.log")") >/dev/null 2>&1 &
SETUP_PID=$!
wait_setup
check identity-stamped-install-exit-0 test "$SETUP_RC" -eq 0
check identity-stamped-installed-file same_file "$P/payload/one.txt" "$DEST/one.txt"
timeout -k 5 60 "$WINE" "C:\\windows\\cvexec.exe" /S "{C0FFEE00-1D3N-TITY}" >/dev/null 2>&1
rm -rf "$WINEPREFIX/drive_c/CorvaneIdentity"
