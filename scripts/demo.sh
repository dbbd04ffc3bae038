#!/usr/bin/env bash
# The main job: packs the sample project with cvpack and runs setup.exe from
# the packed folder under Wine, then reports what the setup did.
#   scripts/demo.sh [PROJECT_DIR]     (default: examples/sample)
# Everything goes under build/demo/: the packed folder, the Wine prefix and a
# report (report.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
project=$(cd "${1:-$root/examples/sample}" && pwd)
export CV_BUILD=${CV_BUILD:-$root/build}
demo=$CV_BUILD/demo

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"

rm -rf "$demo"; mkdir -p "$demo"
"$CV_BUILD/native/tools/cvpack/cvpack" build --engine "$CV_BUILD/win/src/setup.exe" \
  "$project" "$demo/package"
echo "Packed $project into $demo/package:"
(cd "$demo/package" && find . -type f | sort | sed 's/^\.\//  /')

# The demo keeps its own prefix so it never disturbs a test run.
export CV_BUILD=$demo
source "$root/scripts/wine-env.sh"
timeout -k 10 300 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$root/scripts/demo-run.sh" "$demo/package" "$demo/trace.txt" "$demo/exit-code.txt"

trace=$demo/trace.txt
value() { tr -d '\r' <"$trace" | sed -n "s/^$1=//p" | head -n 1; }
work=$("$WINE" winepath -u "$(value 'step 6: working folder')" 2>/dev/null | tr -d '\r')
{
  cat "$demo/exit-code.txt"
  echo "Start-up steps run:"; tr -d '\r' <"$trace" | grep '^step' | sed 's/^/  /'
  echo "Working folder: $(value 'step 6: working folder')  ($work)"
  echo "Product values read:"
  for k in 'product name' publisher 'product version' 'product code' 'installation folder' \
           language 'company name' 'program files folder' 'step 9: operating system' unattended; do
    printf '  %-22s %s\n' "$k" "$(value "$k")"
  done
  echo "Decrypted setup.inf:"; tr -d '\0' <"$work/setup.inf" | sed 's/^/  | /'
  echo "Decrypted data.inf:"; tr -d '\0' <"$work/data.inf" | sed 's/^/  | /'
} | tee "$demo/report.txt"
