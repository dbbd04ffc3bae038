# Helpers for the end-to-end scripts under tests/e2e: packing projects and
# running setup.exe under Wine with a time limit, driven by cvdrive.exe.
source "$CV_ROOT/tests/lib.sh"

CVPACK="$CV_NATIVE/tools/cvpack/cvpack"
SETUP_EXE="$CV_WIN/src/setup.exe"
CVDRIVE="$CV_WIN/tests/cvdrive.exe"

# Windows form of a Unix path (through the Z: drive).
zpath() { echo "Z:$(echo "$1" | tr '/' '\\')"; }
# Unix form of a Windows path inside the prefix.
upath() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# start_setup DIR TRACE_FILE: starts setup.exe with DIR as its current folder
# and records its start-up trace in TRACE_FILE. Time limit: 60 s.
start_setup() {
  local dir=$1 trace=$2
  rm -f "$trace"
  (cd "$dir" && exec timeout -k 5 60 "$WINE" "$SETUP_EXE" "/LOG=$(zpath "$trace")") \
    >/dev/null 2>&1 &
  SETUP_PID=$!
}

# wait_setup: waits for the setup started last; its exit code lands in SETUP_RC.
wait_setup() {
  wait "$SETUP_PID"; SETUP_RC=$?
}

# run_setup DIR TRACE_FILE: runs setup.exe to its end. When its start-up
# reaches the wizard, the wizard's complete page (the whole page list of a
# make_project project) is left with Finish.
run_setup() { start_setup "$@"; finish_when_ready "$@"; }

# finish_when_ready DIR TRACE_FILE: once the started setup's driver is done,
# leaves its complete page with Finish; then waits for the setup to end.
finish_when_ready() {
  local trace=$2 end=$((SECONDS + 60))
  while kill -0 "$SETUP_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do
    if grep -q "^$(trace_name kDriverDone)" "$trace" 2>/dev/null; then
      THEME="$1/theme"
      on_page complete.lcd 15000 && click complete.lcd IDC_FINISH
      break
    fi
    sleep 0.2
  done
  wait_setup
}

# drive ARGS...: runs cvdrive.exe (time-limited) and prints what it prints.
# DRIVE_LIMIT: seconds one driver command may take (60 unless a longer wait
# was asked for).
# Its exit code is the driver's (0 done, 1 not found in time), not the filter's.
drive() {
  local err="$CV_BUILD/drive.err"
  timeout -k 5 "${DRIVE_LIMIT:-60}" "$WINE" "$CVDRIVE" "$@" 2>"$err" | tr -d '\r'
  local rc=${PIPESTATUS[0]}
  # A driver that fails says why in the whole log (what Wine printed, a time-out).
  [ "$rc" -ne 0 ] && [ "$rc" -ne 1 ] && { echo "cvdrive $*: ended with $rc"; cat "$err"; } >>"$CV_LOG"
  return "$rc"
}

# trace_value TRACE CONSTANT: the value recorded in a trace under the name
# CONSTANT of src/core/TraceNames.h ("trace_value FILE kProductName").
trace_value() { tr -d '\r' <"$1" | sed -n "s/^$(trace_name "$2")=//p" | head -n 1; }

# The working folder of a traced run, as a Unix path.
working_folder() { upath "$(trace_value "$1" kWorkingFolder)"; }
# working_folder_removed TRACE: the run of TRACE made a working folder, and it is gone.
working_folder_removed() {
  local work; work=$(working_folder "$1")
  [ -n "$work" ] || { echo "no working folder in $1"; return 1; }
  not_exists "$work"
}

# steps_in_order TRACE N...: the trace names steps N... in this order.
steps_in_order() {
  local trace=$1; shift
  local got; got=$(tr -d '\r' <"$trace" | sed -n 's/^step \([0-9]*\):.*/\1/p' | uniq | tr '\n' ' ')
  [ "$got" = "$* " ] || { echo "steps: $got"; return 1; }
}

# zero_padded FILE: FILE's bytes followed by zero bytes up to a multiple of 16.
zero_padded() {
  local size; size=$(stat -c %s "$1")
  cat "$1"; head -c $(( (16 - size % 16) % 16 )) /dev/zero
}

# dialog_shown [WAIT_MS]: prints the dialog box (title and text) that is open or
# opens within WAIT_MS (0: open now); prints nothing when there is none.
# Returns 2 when the driver could not look (it did not run to its answer).
dialog_shown() {
  local out rc
  out=$(drive absent "${1:-0}"); rc=$?
  [ $rc -eq 0 ] && return 0
  [ $rc -eq 1 ] && grep '^DIALOG:' <<<"$out" && return 0
  return 2
}

# no_dialog_until_done [TRACE]: no dialog box shows while the setup started
# last runs, until it ends or (with TRACE) its start-up driver is done. A
# dialog nobody answers holds the run, so it is open when either sign comes
# or when the 90 s limit passes: this never depends on how fast the run is.
# A look the driver could not take is taken again; a start-up found done
# without a look taken checked nothing, and the check fails.
no_dialog_until_done() {
  local trace=${1:-} end=$((SECONDS + 90)) seen="" looked=0 done=0
  while [ -z "$seen" ]; do
    if [ -n "$trace" ] && grep -q "^$(trace_name kDriverDone)" "$trace" 2>/dev/null; then done=1; fi
    # Its end is a sign too: a dialog nobody answered would have held it.
    kill -0 "$SETUP_PID" 2>/dev/null || { looked=1; break; }
    [ $SECONDS -lt $end ] || { echo "the setup neither ended nor finished its start-up"; return 1; }
    # Once the start-up is done, one look at what is open now settles it.
    seen=$(dialog_shown $([ $done -eq 1 ] && echo 0 || echo 300)) && looked=1 && [ $done -eq 1 ] && break
  done
  [ -z "$seen" ] || { echo "$seen"; return 1; }
  [ $looked -eq 1 ] || { echo "the driver never looked"; return 1; }
}

# no_window_until_end: no dialog box shows up and no page is visible while the
# started setup runs; a setup that shows one is stopped.
no_window_until_end() {
  local seen="" looked=0 end=$((SECONDS + 120)) pages
  while [ -z "$seen" ] && kill -0 "$SETUP_PID" 2>/dev/null; do
    [ $SECONDS -lt $end ] || { echo "the setup did not end"; kill "$SETUP_PID"; return 1; }
    seen=$(dialog_shown 300) && looked=1
    pages=$(drive visible-pages) && seen+=$pages
  done
  [ -z "$seen" ] || { echo "seen: $seen"; kill "$SETUP_PID"; return 1; }
  [ $looked -eq 1 ] || { echo "the driver never looked"; return 1; }
}

# launched_nothing TRACE RECORD: the ended setup of TRACE opened no file at
# Finish (its trace says so before it ends), and no program wrote RECORD.
launched_nothing() {
  grep -q "^$(trace_name kExitCode)" "$1" || { echo "the setup has not ended"; return 1; }
  ! grep "^$(trace_name kLaunched)=" "$1" && not_exists "$2"
}

# The settings of a project that every machine accepts.
ALL_SYSTEMS='[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'

# make_project DIR SETTINGS [DATA]: a project folder with setup.nsx and
# data.nsx made by cvpack from printf-style texts (\r\n line ends), a
# file1.cab holding the first record's payload file, and a theme with the
# complete page. A SYSTEM section allowing every system is added unless
# SETTINGS has one, and a page list of the complete page alone unless it has
# a DIALOGLIST.
make_project() {
  local dir=$1 settings=$2 data=${3:-'payload\\one.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n'}
  mkdir -p "$dir/theme"
  case $settings in *'[SYSTEM]'*) ;; *) settings="$settings\r\n$ALL_SYSTEMS" ;; esac
  case $settings in *'[DIALOGLIST]'*) ;; *) settings="$settings\r\n[DIALOGLIST]\r\nTOTAL1=1\r\nW0=complete.lcd\r\n" ;; esac
  cp "$CV_ROOT/examples/sample/theme/complete.lcd" "$CV_ROOT/examples/sample/theme/complete.bmp" "$dir/theme/"
  printf 'one' >"$dir/F0_one.txt"
  (cd "$dir" && gcab -c file1.cab F0_one.txt && rm F0_one.txt)
  printf "$settings" >"$dir/setup.plain"
  printf "$data" >"$dir/data.plain"
  "$CVPACK" encrypt "$dir/setup.plain" "$dir/setup.nsx" >/dev/null &&
    "$CVPACK" encrypt "$dir/data.plain" "$dir/data.nsx" >/dev/null
}

# message_is BOXFILE TEXT: the dialog text cvdrive read equals TEXT (\r\n escaped).
message_is() { [ "$(grep '^TEXT:' "$1" | cut -c6-)" = "$2" ] || { cat "$1"; return 1; }; }

# run_expecting_message NAME DIR: runs setup.exe in DIR, reads and closes the
# one dialog it shows into $S/NAME.box; exit code in SETUP_RC.
run_expecting_message() {
  start_setup "$2" "$S/$1.trace"
  drive dialog 20000 >"$S/$1.box"
  wait_setup
}

# Registry edits in the test prefix.
reg_add() { "$WINE" reg add "$@" /f >/dev/null 2>&1; }
reg_delete() { "$WINE" reg delete "$@" /f >/dev/null 2>&1; }

# ---- Driving wizard pages ---------------------------------------------------
# Set THEME to the packed project's theme folder (a Unix path) first.
layout() { echo "$(zpath "$THEME")\\$1"; }
# on_page LAYOUT [WAIT_MS]: the page shows within WAIT_MS (20 s unless given).
# A driver that could not run at all on a busy machine is started again until then.
on_page() {
  local wait=${2:-20000}
  local end=$((SECONDS + wait / 1000 + 1))
  while :; do
    DRIVE_LIMIT=$(( wait / 1000 + 60 )) drive page "$wait" "$(layout "$1")" | grep -qx "PAGE:$1" && return 0
    wait=$(( (end - SECONDS) * 1000 ))
    [ "$wait" -gt 0 ] || return 1
    sleep 0.5
  done
}
text_of() { drive text "$(layout "$1")" "$2" | sed -n 's/^TEXT://p'; }
state_of() { drive state "$(layout "$1")" "$2" | sed -n 's/^STATE://p'; }
click() { drive click "$(layout "$1")" "$2" >/dev/null; }
type_into() { drive settext "$(layout "$1")" "$2" "$3" >/dev/null; }
text_is() { local got; got=$(text_of "$1" "$2"); [ "$got" = "$3" ] || { echo "text: $got"; return 1; }; }
state_has() { local got; got=$(state_of "$1" "$2"); [[ " $got " == *" $3 "* ]] || { echo "state: $got"; return 1; }; }
# screenshot NAME: the whole screen into $CV_BUILD/artifacts/<script>/NAME.png
screenshot() {
  local dir="$CV_BUILD/artifacts/$(basename "${BASH_SOURCE[1]}" .sh)"
  mkdir -p "$dir"; sleep 0.3; import -window root "$dir/$1.png" 2>/dev/null || true
}

# screen_pixel PNG X Y: "#RRGGBB" of one pixel of a screenshot.
screen_pixel() { convert "$1" -crop "1x1+$2+$3" +repage txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
# screen_shows PNG X Y PATTERN [SECONDS]: screenshots into PNG until the pixel
# at X,Y matches PATTERN (an extended regex such as '#FF0000|#0000FF'), for up
# to SECONDS (10). A window is drawn on the X screen a moment after the program
# says it is shown, later still on a loaded machine, so the screen is watched,
# not read once. The last screenshot stays in PNG for the checks that follow.
screen_shows() {
  local png=$1 x=$2 y=$3 pattern=$4 end=$((SECONDS + ${5:-10}))
  while :; do
    import -window root "$png" 2>/dev/null
    screen_pixel "$png" "$x" "$y" | grep -Eqx "$pattern" && return 0
    [ $SECONDS -ge $end ] && return 1
    sleep 0.2
  done
}

# pack_project SRC DEST: a ready-to-ship folder made by cvpack build.
pack_project() { "$CVPACK" build --engine "$SETUP_EXE" "$1" "$2" >/dev/null; }

# Runs SETUP_EXE from DIR with its own trace: the copy cvpack put there.
start_packed() {
  local dir=$1 trace=$2
  rm -f "$trace"
  # What Wine itself says (a program it could not start) is kept beside the log.
  (cd "$dir" && exec timeout -k 5 "${3:-120}" "$WINE" setup.exe "/LOG=$(zpath "$trace")") \
    >/dev/null 2>"$trace.wine" &
  SETUP_PID=$!
}

# eventually SECONDS COMMAND...: retries COMMAND until it succeeds or time runs out.
eventually() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $end ] && { "$@"; return 1; }
    sleep 0.25
  done
}
