#!/usr/bin/env bash
# Project variables from every source, seen in a page text the setup
# expanded, and conditions run when their page is shown, after Finish, and
# cancelling the setup from a page; web texts without their line end, and one
# that comes a byte at a time given up with the wait window's Cancel.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# What the machine offers the variables: a registry value, an INI file, a
# file and a folder, a window of another program.
reg_add 'HKCU\Software\CorvaneVars' /v Edition /d Pro
printf '[Main]\r\nColor=Blue\r\n' >"$S/vars.ini"
printf 'x' >"$S/present.txt"
mkdir -p "$S/folder"
timeout 80 "$WINE" "$CV_WIN/tests/testwindow.exe" CorvaneVarTest 'Var Window' 70 >"$S/window.txt" 2>/dev/null &
WINDOW_PID=$!
eventually 20 grep -q READY "$S/window.txt"

# A web server that answers texts, stopped when this script ends.
python3 "$CV_ROOT/tests/tools/httpserver.py" "$S/port" --limit 90 &
SERVER=$!
trap 'kill $SERVER 2>/dev/null; wait $SERVER 2>/dev/null' EXIT
for _ in $(seq 50); do [ -s "$S/port" ] && break; sleep 0.1; done

# The welcome page shows every variable. One web address answers nothing (a
# closed port), so its default stands; the other answers with a text.
theme_with_welcome() {
  mkdir -p "$1/theme"
  sed 's/^3002,1=Caption|.*|0/3002,1=Caption|<Edition> \/ <Missing> \/ <Color> \/ <HasFile> \/ <HasDir> \/ <NoFile> \/ <Web> \/ <Win> \/ <NoWin> \/ [Edition] \/ <WebText> \/ <Line>|0/' \
    "$CV_ROOT/examples/sample/theme/welcome.lcd" >"$1/theme/welcome.lcd"
}
esc() { echo "${1//\\/\\\\}"; }
HOME_W=$(esc "$(zpath "$S")")
PAGES='[DIALOGLIST]\r\nTOTAL1=2\r\nW0=welcome.lcd\r\nW1=complete.lcd\r\n'
VARS="[VARIABLES]\r\nTOTAL=13\r\n\
A0=<Home>\r\nB0=$HOME_W\r\nD0=Nowhere\r\n\
A1=<Edition>\r\nB1=none\r\nD1=Registry\r\nE1=HKEY_CURRENT_USER\r\nF1=Software\\\\CorvaneVars\r\nG1=Edition\r\n\
A2=<Missing>\r\nB2=fallback\r\nD2=Registry\r\nE2=HKEY_CURRENT_USER\r\nF2=Software\\\\CorvaneVars\r\nG2=Nope\r\n\
A3=<Color>\r\nB3=nocolor\r\nD3=INI Files\r\nH3=<Home>\\\\vars.ini\r\nI3=Main\r\nJ3=Color\r\n\
A4=<HasFile>\r\nD4=Find File/Folder\r\nL4=<Home>\\\\present.txt\r\n\
A5=<HasDir>\r\nD5=Find File/Folder\r\nL5=<Home>\\\\folder\r\n\
A6=<NoFile>\r\nD6=Find File/Folder\r\nL6=<Home>\\\\absent.txt\r\n\
A7=<Web>\r\nB7=offline\r\nD7=Retrive from Web\r\nO7=http://127.0.0.1:1/<Edition>.txt\r\n\
A8=<Win>\r\nD8=Find Window\r\nP8=CorvaneVarTest\r\nQ8=Var Window\r\n\
A9=<NoWin>\r\nD9=Find Window\r\nP9=CorvaneVarTest\r\nQ9=Other Window\r\n\
A10=<Unknown>\r\nB10=kept\r\nD10=nowhere\r\n\
A11=<WebText>\r\nB11=offline\r\nD11=Retrive from Web\r\nO11=http://127.0.0.1:$(cat "$S/port")/text/<Edition>-online\r\n\
A12=<Line>\r\nB12=none\r\nD12=Retrive from Web\r\nO12=http://127.0.0.1:$(cat "$S/port")/text/2.0%%0D%%0A\r\n"
CONDS="[CONDITIONS]\r\nTOTAL=3\r\n\
A0=OnWelcome\r\nB0=<Edition>\r\nC0===\r\nD0=Pro\r\nE0=welcome.lcd\r\nF0=2\r\n00=ShowMessage(Pro edition found);\r\n01=Beep();\r\n\
A1=Never\r\nB1=1\r\nC1=<=\r\nD1=2\r\nE1=welcome.lcd\r\nF1=1\r\n10=ShowMessage(never shown);\r\n\
A2=AtFinish\r\nB2=<HasFile>\r\nC2=!=\r\nD2=<NoFile>\r\nE2=After Click Finish Button\r\nF2=1\r\n20=ShowMessage(Finished with <Color>);\r\n"

# Variables in the welcome text (a web text's line end is no part of its
# value); the page's condition speaks before the page
# shows, the finish condition after Finish.
P="$S/shown"
make_project "$P" "[APPINFO]\r\na1=Vars\r\n$PAGES$VARS$CONDS"
theme_with_welcome "$P"
THEME="$P/theme"
start_setup "$P" "$S/shown.trace"
drive dialog 30000 'Brenmark Corvane' >"$S/welcome.box"
check variables-page-condition-message message_is "$S/welcome.box" 'Pro edition found'
on_page welcome.lcd
check variables-from-every-source text_is welcome.lcd IDC_STATIC2 \
  'Pro / fallback / Blue / TRUE / TRUE / FALSE / offline / TRUE / FALSE / Pro / Pro-online / 2.0'
check variables-unknown-source-is-empty eval 'tr -d "\r" <"$S/shown.trace" | grep -qx "variable=<Unknown>="'
check variables-wait-window-made eval '! grep -q "wait window" "$S/shown.trace"'
screenshot welcome
click welcome.lcd IDC_NEXT
on_page complete.lcd && click complete.lcd IDC_FINISH
drive dialog 20000 'Brenmark Corvane' >"$S/finish.box"
check variables-finish-condition-message message_is "$S/finish.box" 'Finished with <Color>'
wait_setup
check variables-finished-exit-0 test "$SETUP_RC" -eq 0
check variables-false-condition-silent eval '! grep -q "never shown" "$S/shown.trace"'

# A condition that cancels from its page: the complete page in its cancelled
# form replaces it and the working folder is gone.
P="$S/cancel"
make_project "$P" "[APPINFO]\r\na1=Vars\r\n$PAGES[CONDITIONS]\r\nTOTAL=1\r\n\
A0=Stop\r\nB0=2.5\r\nC0=>=\r\nD0=2.45\r\nE0=welcome.lcd\r\nF0=1\r\n00=CancelInstall();\r\n"
theme_with_welcome "$P"
THEME="$P/theme"
start_setup "$P" "$S/cancel.trace"
on_page complete.lcd
check variables-cancel-condition-interrupts text_is complete.lcd IDC_INSTALLSTATUS \
  'The installation of Vars was interrupted before it could finish.'
check variables-cancel-condition-no-welcome eval '! grep -q "^page=welcome.lcd" "$S/cancel.trace"'
check variables-cancel-removes-working-folder not_exists "$(working_folder "$S/cancel.trace")"
click complete.lcd IDC_FINISH
wait_setup
check variables-cancel-condition-exit-1 test "$SETUP_RC" -eq 1
# Unattended (/S), nobody would leave that page: the run ends at once, not installed.
(cd "$P" && exec timeout -k 5 60 "$WINE" "$SETUP_EXE" /S "/LOG=$(zpath "$S/quiet.trace")") >/dev/null 2>&1
check variables-cancel-condition-unattended-exit-1 test $? -eq 1
check variables-cancel-condition-unattended-no-page eval '! grep -q "^page=complete.lcd" "$S/quiet.trace"'
check variables-cancel-condition-unattended-working-folder working_folder_removed "$S/quiet.trace"

# A text that trickles in a byte every two seconds keeps the wait window up
# until Cancel: its default stands.
URL="http://127.0.0.1:$(cat "$S/port")"
P="$S/web"
make_project "$P" "[APPINFO]\r\na1=Vars\r\n$PAGES[VARIABLES]\r\nTOTAL=1\r\n\
A0=<Slow>\r\nB0=given up\r\nD0=Retrive from Web\r\nO0=$URL/drip/slowly\r\n"
theme_with_welcome "$P"
THEME="$P/theme"
start_setup "$P" "$S/web.trace"
drive answer 20000 Cancel >"$S/wait.box"
check variables-web-wait-cancelled on_page welcome.lcd
check variables-web-cancel-takes-default eval 'tr -d "\r" <"$S/web.trace" | grep -qx "variable=<Slow>=given up"'
check variables-web-cancel-logged eval \
  'tr -d "\r" <"$S/web.trace" | grep -qx "$(trace_name kDownloadFailed)=$URL/drip/slowly: cancelled"'
on_page welcome.lcd && click welcome.lcd IDC_NEXT
on_page complete.lcd && click complete.lcd IDC_FINISH
wait_setup

kill $WINDOW_PID 2>/dev/null; wait $WINDOW_PID 2>/dev/null
reg_delete 'HKCU\Software\CorvaneVars'
