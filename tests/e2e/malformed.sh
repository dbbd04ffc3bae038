#!/usr/bin/env bash
# The malformed-input corpus (tests/malformed/make_corpus.py: truncated,
# oversized, wrong types, NUL bytes, 10 000 entries, 100 000-character values,
# names with "..\" and drive letters) through setup.exe and through cvpack.
# Every case must end with a clear message or a documented default: an exit
# code of the table in README.md (a message box shown is read and closed),
# never a crash or a hang (20 s), and nothing may be written outside the
# folders the project names (no file named EVIL* anywhere else). One summary
# line; the outcome of every case is in the log.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
python3 "$CV_ROOT/tests/malformed/make_corpus.py" "$S/cases" gcab >/dev/null
THEME_SRC=$CV_ROOT/examples/sample/theme
DEST="$WINEPREFIX/drive_c/Program Files/Malformed Tool"
marker=$S/started; touch "$marker"

# package CASE: the folder setup.exe runs in, made from the case's plain files.
package() {
  local c=$S/cases/$1 p=$S/run/$1
  mkdir -p "$p/theme"
  for f in "$THEME_SRC"/*; do ln -s "$f" "$p/theme/"; done
  "$CVPACK" encrypt "$c/setup.plain" "$p/setup.nsx" >/dev/null || return 1
  "$CVPACK" encrypt "$c/data.plain" "$p/data.nsx" >/dev/null || return 1
  [ -f "$c/file1.cab" ] && cp "$c/file1.cab" "$p/"
  if [ -d "$c/files" ]; then
    (cd "$c/files" && find . -type f) | while read -r f; do
      mkdir -p "$(dirname "$p/$f")"; rm -f "$p/$f"; cp "$c/files/$f" "$p/$f"
    done
  fi
  if [ -d "$c/raw" ]; then
    for f in "$c/raw"/*; do
      case $f in
        *.absent) rm -f "$p/$(basename "$f" .absent)" ;;
        *) if [ "$(cat "$f")" = ragged ]; then
             head -c -5 "$p/$(basename "$f")" >"$p/x" && mv "$p/x" "$p/$(basename "$f")"
           else cp "$f" "$p/"; fi ;;
      esac
    done
  fi
}

# run_case CASE: runs setup.exe on the case; prints its outcome word: the
# exit code, "+message" when it showed a message box (its text in the log).
run_case() {
  local p=$S/run/$1 start=$SECONDS box=""
  start_setup "$p" "$S/run/$1.trace"
  while kill -0 "$SETUP_PID" 2>/dev/null; do
    if [ $((SECONDS - start)) -ge 20 ]; then
      kill -- "$SETUP_PID" 2>/dev/null; wait_setup
      echo "hang$(drive visible-pages | tr '\n' ' ')"; return
    fi
    sleep 0.1
    # A message box is the clear message of a refused input: read and close it
    # (looked for once the run takes longer than a run that shows none).
    if [ $((SECONDS - start)) -ge 3 ]; then
      local got; got=$(drive dialog 200 | sed -n 's/^TEXT://p')
      [ -n "$got" ] && { box="+message"; echo "malformed $1 message: $got" >>"$CV_LOG"; }
    fi
  done
  wait_setup
  case $SETUP_RC in
    0|1|2|3|4|194) echo "exit$SETUP_RC$box" ;;  # 194: 3010 as the shell sees it
    *) echo "crash$SETUP_RC" ;;
  esac
}

total=0 bad=0 summary=""
for c in $(ls "$S/cases"); do
  total=$((total + 1))
  if ! package "$c"; then outcome=unpackable
  else outcome=$(run_case "$c"); fi
  echo "malformed $c: $outcome" >>"$CV_LOG"
  case $outcome in exit*) ;; *) bad=$((bad + 1)); echo "  $c: $outcome" ;; esac
  summary="$summary $outcome"
  rm -rf "$DEST"
done
counts=$(echo "$summary" | tr ' ' '\n' | sed '/^$/d' | sort | uniq -c | awk '{printf "%s %s, ", $2, $1}')
echo "  malformed corpus through setup.exe: $total inputs, $((total - bad)) handled ($counts), $bad crashed or hung"
check malformed-setup-every-input-handled test "$bad" -eq 0 -a "$total" -ge 100

# cvpack build on the same projects: a build, or a refusal (exit 1) with a
# message naming the file and line or the problem.
cvpack_bad=0
for c in $(ls "$S/cases"); do
  p=$S/pack/$c; mkdir -p "$p/payload" "$p/theme"
  cp "$S/cases/$c/setup.plain" "$p/setup.inf"; cp "$S/cases/$c/data.plain" "$p/data.inf"
  printf 'one' >"$p/payload/one.txt"
  cp "$THEME_SRC/complete.lcd" "$THEME_SRC/progress.lcd" "$p/theme/"
  [ -d "$S/cases/$c/files/theme" ] && cp "$S/cases/$c/files/theme/"* "$p/theme/"
  timeout -k 2 20 "$CVPACK" build "$p" "$S/packed/$c" >"$S/pack/$c.out" 2>&1
  rc=$?
  if [ $rc -eq 0 ] || { [ $rc -eq 1 ] && [ -s "$S/pack/$c.out" ]; }; then
    echo "malformed cvpack $c: $rc $(head -c 200 "$S/pack/$c.out" | head -1)" >>"$CV_LOG"
  else
    cvpack_bad=$((cvpack_bad + 1)); echo "  cvpack $c: exit $rc"
  fi
done
echo "  malformed corpus through cvpack: $total inputs, $((total - cvpack_bad)) handled, $cvpack_bad crashed, hung or unclear"
check malformed-cvpack-every-input-handled test "$cvpack_bad" -eq 0

# Nothing named EVIL* outside the installation folder (removed after each run)
# and the cases themselves.
stray() {
  find "$WINEPREFIX/drive_c" "$S/run" -newer "$marker" -iname 'evil*' 2>/dev/null | grep -v '\.lcd$' | head
}
check malformed-no-writes-outside-named-folders test -z "$(stray)"
reg_delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{B4AC7E75-MALFORMED}'
reg_delete 'HKCU\Software\Malformed'
