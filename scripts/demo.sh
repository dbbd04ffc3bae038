#!/usr/bin/env bash
# The main job: packs the sample project with cvpack and installs it with
# setup.exe under Wine, walking the wizard like a user, then reports what the
# setup did.
#   scripts/demo.sh [PROJECT_DIR]     (default: examples/sample)
# Everything goes under build/demo/: the packed folder, the Wine prefix, a
# screenshot of every page (screens/) and a report (report.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
project=$(cd "${1:-$root/examples/sample}" && pwd)
export CV_BUILD=${CV_BUILD:-$root/build}
demo=$CV_BUILD/demo

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"

cvpack=$CV_BUILD/native/tools/cvpack/cvpack
rm -rf "$demo"; mkdir -p "$demo/signing"
# A code-signing certificate made for the demo only (a real publisher's comes
# from a certificate authority Windows trusts).
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Corvane Demo Publisher" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$demo/signing/demo.key" -out "$demo/signing/demo.pem" 2>/dev/null
single=$demo/CorvaneNotesSetup.exe
# The build checks the project first; a mistake stops it with its file and
# line. It writes the folder package, the same package as one file, and
# signs setup.exe, the uninstaller and the one file.
"$cvpack" build --engine "$CV_BUILD/win/src/setup.exe" --single-file "$single" \
  --sign-cert "$demo/signing/demo.pem" --sign-key "$demo/signing/demo.key" \
  "$project" "$demo/package"
echo "The same package as one signed file: $single ($(stat -c %s "$single") bytes):"
osslsigncode verify -CAfile "$demo/signing/demo.pem" -in "$single" 2>&1 |
  sed -n 's/^[[:space:]]*\(Subject: .*\|Signature verification: .*\)$/  \1/p' | sort -u
echo "Packed $project into $demo/package:"
(cd "$demo/package" && find . -type f | sort | sed 's/^\.\//  /')
echo "What the package installs (cvpack list):"
"$cvpack" list "$demo/package" | sed 's/^/  /'

# The demo keeps its own prefix so it never disturbs a test run.
export CV_WIN=$CV_BUILD/win CV_WINE_DIR=$demo/wine
timeout -k 10 400 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$root/scripts/demo-run.sh" "$demo/package" "$demo/trace.txt" "$demo/exit-code.txt" "$demo/screens"
# What Windows shows of the shipped setup.exe: the product's file properties and icon.
timeout -k 10 120 xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
  'source "$1"; timeout -k 5 60 "$WINE" "$2" "Z:$(echo "$3" | tr / \\\\)" >"$4" 2>/dev/null; wineserver -k' \
  _ "$root/scripts/wine-env.sh" "$CV_WIN/tests/fileidentity.exe" "$demo/package/setup.exe" "$demo/identity.txt" || true
export CV_BUILD=$demo
source "$root/scripts/wine-env.sh"

trace=$demo/trace.txt
source "$root/scripts/trace-names.sh"
# value CONSTANT: the trace value under a name of src/core/TraceNames.h.
value() { tr -d '\r' <"$trace" | sed -n "s/^$(trace_name "$1")=//p" | head -n 1; }
work=$("$WINE" winepath -u "$(value kWorkingFolder)" 2>/dev/null | tr -d '\r')
code=$(value kProductCode)
log="$WINEPREFIX/drive_c/windows/Installer/$code/uninstall.log"
{
  cat "$demo/exit-code.txt"
  echo "Start-up steps run:"; tr -d '\r' <"$trace" | grep '^step' | sed 's/^/  /'
  echo "Working folder: $(value kWorkingFolder)  ($work)"
  echo "setup.exe as Windows shows it (version resource, icon):"
  tr -d '\r' <"$demo/identity.txt" 2>/dev/null | sed 's/^/  /'
  echo "Product values read:"
  for k in kProductName kPublisher kProductVersion kProductCode kInstallFolder \
           kLanguage kCompanyName kProgramFilesFolder kOperatingSystem kUnattended; do
    printf '  %-22s %s\n' "$k" "$(value "$k")"
  done
  # The setup removes its working folder at the end; the same texts come from the containers.
  for f in setup data; do
    "$cvpack" decrypt "$demo/package/$f.nsx" "$demo/$f.inf" >/dev/null &&
      { echo "Decrypted $f.inf:"; tr -d '\0\r' <"$demo/$f.inf" | sed 's/^/  | /'; }
  done
  echo "Language applied to the pages: $(value kLanguageApplied)"
  if [ -n "$(value kSplashPicture)" ]; then
    echo "Splash picture: $(value kSplashPicture), closed by its $(value kSplashClosed)"
  fi
  echo "Pages shown:"; tr -d '\r' <"$trace" | sed -n 's/^page=/  /p'
  echo "File actions and add-on programs run:"
  tr -d '\r' <"$trace" | { grep -E '^(file action[ ,=]|add-on|merge modules=)' || true; } | sed 's/^/  /'
  install=$("$WINE" winepath -u "$(value kHandOverFolder)" 2>/dev/null | tr -d '\r')
  echo "Installed files in $(value kHandOverFolder):"
  [ -n "$install" ] && (cd "$install" 2>/dev/null && find . -type f | sort | sed 's/^\.\//  /')
  echo "Uninstall log:"; [ -f "$log" ] && tr -d '\r' <"$log" | sed 's/^/  | /'
  echo "Read back from the system (shortcuts, registry, services of the log):"
  [ -f "$log" ] && tr -d '\r' <"$log" | while IFS='=' read -r kind item; do
    case $kind in
      SHORTCUT) printf '  %s: %s\n' "$([ -f "$("$WINE" winepath -u "$item" </dev/null 2>/dev/null | tr -d '\r')" ] && echo made || echo MISSING)" "$item" ;;
      REGKEY|REMKEY) { "$WINE" reg query "$item" /s </dev/null 2>/dev/null || true; } | tr -d '\r' | sed '/^$/d; s/^/  /' ;;
      NTSERVICE) { "$WINE" "$CV_WIN/tests/svcquery.exe" "$item" </dev/null 2>/dev/null || true; } |
                   tr -d '\r' | sed '/^$/d; s/^/  /' ;;
    esac
  done
  echo "Environment of the user:"; "$WINE" reg query 'HKCU\Environment' 2>/dev/null | tr -d '\r' | sed '/^$/d; s/^/  /'
  echo "Entry in the list of programs:"
  "$WINE" reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" 2>/dev/null |
    tr -d '\r' | sed '/^$/d; s/^/  /'
  echo "Working folder removed at the end: $([ -d "$work" ] && echo no || echo yes)"
} | tee "$demo/report.txt"

# The same package runs again over the installed product, as an update
# would: the second run claims what the first one made (UNDOBY=REMOVAL).
timeout -k 10 200 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$root/scripts/demo-again.sh" "$demo/package" "$demo/again-exit-code.txt"
{
  cat "$demo/again-exit-code.txt" 2>/dev/null
  echo "Lines of the second run's log claiming what the first run made: $(tr -d '\r' <"$log" 2>/dev/null | grep -c '^UNDOBY=REMOVAL$')"
} | tee -a "$demo/report.txt"

# Then the product is removed as the list of programs removes it, and what
# the log named is looked for again.
[ -f "$log" ] && cp "$log" "$demo/uninstall.log"
timeout -k 10 200 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$root/scripts/demo-remove.sh" "$code" "$demo/remove-exit-code.txt" "$demo/remove-message.txt" "$demo/screens"
{
  cat "$demo/remove-exit-code.txt" 2>/dev/null
  echo "Closing message: $(cat "$demo/remove-message.txt" 2>/dev/null)"
  echo "Still on the machine of what the log named (nothing is expected):"
  [ -f "$demo/uninstall.log" ] && tr -d '\r' <"$demo/uninstall.log" | while IFS='=' read -r kind item; do
    case $kind in
      FILE|SHORTCUT|DIR) path=$("$WINE" winepath -u "$item" </dev/null 2>/dev/null | tr -d '\r')
        if [ -e "$path" ]; then echo "  $kind $item"; fi ;;
      REGKEY|REMKEY) if "$WINE" reg query "$item" </dev/null >/dev/null 2>&1; then echo "  $kind $item"; fi ;;
    esac
  done
  if "$WINE" reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" </dev/null >/dev/null 2>&1; then
    echo "  the entry in the list of programs"
  fi
} | tee -a "$demo/report.txt"

# Last, the product is installed again from the one signed file, silently,
# and removed again.
timeout -k 10 300 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$root/scripts/demo-single.sh" "$single" "$code" "$demo/single-report.txt"
{
  cat "$demo/single-report.txt" 2>/dev/null
  echo "Screenshots: $demo/screens/"
} | tee -a "$demo/report.txt"
