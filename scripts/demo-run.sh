#!/usr/bin/env bash
# Inside Xvfb: runs setup.exe in PACKAGE_DIR in a fresh prefix and walks its
# wizard like a user (accepting the license, keeping the defaults), saving a
# screenshot of every page into SCREENS_DIR. The start-up trace goes to
# TRACE_FILE and the exit code to EXIT_FILE.
set -uo pipefail
package=$1 trace=$2 exit_file=$3 screens=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
source "$here/trace-names.sh"
cvdrive=$CV_WIN/tests/cvdrive.exe
theme_win="Z:$(echo "$package/theme" | tr / '\\')"

drive() { timeout -k 5 60 "$WINE" "$cvdrive" "$@" 2>/dev/null | tr -d '\r'; }
page() { drive page "${2:-20000}" "$theme_win\\$1" | grep -qx "PAGE:$1"; }
click() { drive click "$theme_win\\$1" "$2" >/dev/null; }
shot() { sleep 0.5; import -window root "$screens/$1.png" 2>/dev/null; echo "  page $1"; }

wine_prefix_fresh
rm -f "$trace"; mkdir -p "$screens"
(cd "$package" && exec timeout -k 5 300 "$WINE" setup.exe "/LOG=Z:$(echo "$trace" | tr / '\\')") &
setup_pid=$!

# next_page: waits for the setup to show its next page and sets `layout` to
# its layout file; the trace names every page it shows, so the walk follows
# the pages the project really has instead of waiting for ones it skips.
shown=0 layout=
next_page() {
  local end=$((SECONDS + 60)) pages
  while [ $SECONDS -lt $end ] && kill -0 "$setup_pid" 2>/dev/null; do
    mapfile -t pages < <(tr -d '\r' <"$trace" 2>/dev/null | sed -n "s/^$(trace_name kPage)=//p")
    if [ ${#pages[@]} -gt $shown ]; then
      shown=${#pages[@]}; layout=${pages[-1]}; return 0
    fi
    sleep 0.1
  done
  return 1
}

# The splash, when the project has one, shows before the first page.
end=$((SECONDS + 30))
while [ $SECONDS -lt $end ] && kill -0 "$setup_pid" 2>/dev/null; do
  if grep -q "^$(trace_name kSplashPicture)=[0-9]" "$trace" 2>/dev/null; then shot 00-splash; break; fi
  grep -q "^$(trace_name kDriverDone)" "$trace" 2>/dev/null && break
  sleep 0.1
done

echo "Walking the wizard:"
n=1
while next_page; do
  p=${layout%.lcd}
  # The start page only shows while the payload is extracted: often gone
  # before it could be photographed.
  [ "$p" = start ] && continue
  page "$layout" 20000 || continue
  shot "$(printf '%02d' $n)-$p"; n=$((n + 1))
  case $p in
    # The pages that follow speak the language chosen here.
    askuser) drive select "$theme_win\\askuser.lcd" IDC_LANGUAGE German >/dev/null
             sleep 0.3; shot "$(printf '%02d' $n)-askuser-German"; n=$((n + 1))
             click askuser.lcd IDC_SETLANGUAGE ;;
    license) click license.lcd IDC_ACCEPTLICENSE; sleep 0.3; click license.lcd IDC_NEXT ;;
    progress) ;;
    complete)
      # Leave without opening the installed files in an editor.
      for box in IDC_LAUNCHFILE IDC_LAUNCHREADME; do
        drive state "$theme_win\\complete.lcd" $box | grep -q ' checked' && click complete.lcd $box
      done
      click complete.lcd IDC_FINISH; break ;;
    *) click "$p.lcd" IDC_NEXT ;;
  esac
done
wait "$setup_pid"
echo "setup.exe exit code: $?" >"$exit_file"
wine_stop
