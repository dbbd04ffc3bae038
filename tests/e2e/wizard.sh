#!/usr/bin/env bash
# The wizard under Wine, driven page by page like a user: a full walk through
# the default theme that installs the sample project, the cancel path, the
# folder check, keys, the launch options and unattended mode.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# The sample project, installing into a known folder and launching a stand-in
# program on Finish.
make_sample() {  # DEST
  cp -r "$CV_ROOT/examples/sample" "$1"
  # The walks start at the welcome page (languages.sh drives the language page).
  sed -i "s/^METHOD=.*/METHOD=None/" "$1/setup.inf"
  cp "$CV_WIN/tests/recordrun.exe" "$1/payload/tool.exe"
  printf 'payload/tool.exe\r\nDestination Computer\\<InstallDir>\\*0*0*6|Program Files\r\n' >>"$1/data.inf"
  # The walks install it again and again into one prefix, where the sample's
  # service would exist from the first run on and ask what to do.
  sed -i '/^\[NTSERVICE\]/,$ s/^TOTAL=.*/TOTAL=0/' "$1/setup.inf"
  sed -i 's|^a4=.*|a4=C:\\CorvaneTest\\Notes|; s|^CT10=.*|CT10=<InstallDir>\\tool.exe|; s|^CT11=.*|CT11=--from-finish <ProductVersion>|; s|^CT13=.*|CT13=|' "$1/setup.inf"
}
INSTALLED=$WINEPREFIX/drive_c/CorvaneTest/Notes
CALLS=$INSTALLED/tool.exe.calls.txt

make_sample "$S/project"
pack_project "$S/project" "$S/pkg"
THEME=$S/pkg/theme

# ---- A full walk ---------------------------------------------------------------
start_packed "$S/pkg" "$S/walk.trace"
check wizard-welcome-shown on_page welcome.lcd
screenshot 01-welcome
text_has() { [[ "$(text_of "$1" "$2")" == *"$3"* ]]; }
check wizard-welcome-text-expanded text_has welcome.lcd IDC_STATIC1 'Corvane Notes'

check wizard-welcome-back-disabled state_has welcome.lcd IDC_BACK disabled
check wizard-welcome-next-default state_has welcome.lcd IDC_NEXT default
click welcome.lcd IDC_NEXT

check wizard-license-shown on_page license.lcd
check wizard-license-next-disabled state_has license.lcd IDC_NEXT disabled
check wizard-license-not-accepted-checked state_has license.lcd IDC_NOTACCEPTLICENSE checked
check wizard-license-text-streamed text_has license.lcd IDC_LICENSE 'Corvane Notes licence'
click license.lcd IDC_ACCEPTLICENSE
check wizard-license-accept-enables-next state_has license.lcd IDC_NEXT enabled
click license.lcd IDC_NOTACCEPTLICENSE
check wizard-license-decline-disables-next state_has license.lcd IDC_NEXT disabled
click license.lcd IDC_ACCEPTLICENSE
screenshot 02-license
sleep 0.2; click license.lcd IDC_NEXT

check wizard-customer-shown on_page customer.lcd
check wizard-customer-anyone-checked state_has customer.lcd IDC_ANYONE checked
type_into customer.lcd IDC_USERNAME 'Ann Tester'
type_into customer.lcd IDC_ORGANIZATION 'Brenmark QA'
screenshot 03-customer
click customer.lcd IDC_NEXT

check wizard-destination-shown on_page destination.lcd
check wizard-destination-folder text_is destination.lcd IDC_INSTALLDIR 'C:\CorvaneTest\Notes\'
screenshot 04-destination
click destination.lcd IDC_NEXT

check wizard-setuptype-shown on_page setuptype.lcd
check wizard-setuptype-typical-preselected state_has setuptype.lcd IDC_TYPICAL checked
screenshot 05-setuptype
click setuptype.lcd IDC_NEXT
check wizard-typical-skips-custom-setup on_page ready.lcd
click ready.lcd IDC_BACK
check wizard-back-from-ready on_page setuptype.lcd
click setuptype.lcd IDC_CUSTOM
check wizard-custom-checked state_has setuptype.lcd IDC_CUSTOM checked
click setuptype.lcd IDC_NEXT
check wizard-custom-shows-custom-setup on_page customsetup.lcd
check wizard-custom-setup-folder text_is customsetup.lcd IDC_INSTALLDIR 'C:\CorvaneTest\Notes\'
screenshot 06-customsetup
click customsetup.lcd IDC_BACK
check wizard-back-to-setuptype on_page setuptype.lcd
click setuptype.lcd IDC_BACK
check wizard-back-to-destination on_page destination.lcd
click destination.lcd IDC_BACK
check wizard-back-to-customer on_page customer.lcd
check wizard-customer-name-kept text_is customer.lcd IDC_USERNAME 'Ann Tester'
check wizard-customer-company-kept text_is customer.lcd IDC_ORGANIZATION 'Brenmark QA'
click customer.lcd IDC_NEXT
on_page destination.lcd && click destination.lcd IDC_NEXT
on_page setuptype.lcd && click setuptype.lcd IDC_TYPICAL
click setuptype.lcd IDC_NEXT

check wizard-ready-shown on_page ready.lcd
check wizard-ready-summary text_is ready.lcd IDC_SETTINGS \
  '\r\nSetup Type:\r\n\r\nTypical\r\n\r\nDestination Folder:\r\n\r\nC:\CorvaneTest\Notes\\r\n\r\nUser Information:\r\n\r\nName: Ann Tester\r\n\r\nCompany: Brenmark QA\r\n\r\n'
screenshot 07-ready
click ready.lcd IDC_NEXT

check wizard-progress-shown on_page progress.lcd 10000
check wizard-complete-shown on_page complete.lcd 60000
screenshot 09-complete
check wizard-complete-back-disabled state_has complete.lcd IDC_BACK disabled
check wizard-complete-cancel-disabled state_has complete.lcd IDCANCEL disabled
check wizard-complete-launch-checked state_has complete.lcd IDC_LAUNCHFILE checked
check wizard-installed-readme same_file "$S/project/payload/readme.txt" "$INSTALLED/readme.txt"
check wizard-installed-guide same_file "$S/project/payload/docs/guide.txt" "$INSTALLED/docs/guide.txt"
click complete.lcd IDC_FINISH
wait_setup
check wizard-finish-exit-0 test "$SETUP_RC" -eq 0
check wizard-finish-launched-file eventually 10 grep -qF -- '--from-finish 1.4.2' "$CALLS"
# The sample's note files open with the document's path as one quoted argument,
# so that a path with blanks reaches the program whole.
check wizard-sample-file-type-quotes-the-document eval \
  '"$WINE" reg query "HKCR\\CorvaneNotes.Note\\shell\\open\\command" /ve | tr -d "\r" | grep -qE "notepad\.exe\" \"%1\"\$"'

# ---- Launch box unchecked: Finish starts nothing --------------------------------
# The program launched above records "done" a moment after it started.
eventually 10 grep -qx done "$CALLS"
rm -f "$CALLS"
start_packed "$S/pkg" "$S/nolaunch.trace"
for p in welcome license customer destination setuptype ready; do
  on_page $p.lcd || break
  [ $p = license ] && click license.lcd IDC_ACCEPTLICENSE && sleep 0.2
  click $p.lcd IDC_NEXT
done
check wizard-nolaunch-complete on_page complete.lcd 60000
click complete.lcd IDC_LAUNCHFILE
check wizard-nolaunch-unchecked state_has complete.lcd IDC_LAUNCHFILE unchecked
click complete.lcd IDC_FINISH
wait_setup
check wizard-unchecked-launch-starts-nothing launched_nothing "$S/nolaunch.trace" "$CALLS"

# ---- Keys and the cancel path ---------------------------------------------------
start_packed "$S/pkg" "$S/cancel.trace"
on_page welcome.lcd
drive key "$(layout welcome.lcd)" 13 >/dev/null
drive key "$(layout welcome.lcd)" 27 >/dev/null
drive answer 30000 Cancel >"$S/escape.box"
check wizard-escape-asks-to-cancel grep -q '^TEXT:Are you sure you want to cancel the installation of Corvane Notes?' "$S/escape.box"
# The page takes its keys in order: once Escape has asked, Enter was handled.
check wizard-enter-does-not-move test "$(drive visible-pages)" = PAGE:welcome.lcd
check wizard-declined-cancel-stays on_page welcome.lcd 20000
work=$(working_folder "$S/cancel.trace")
click welcome.lcd IDCANCEL
drive answer 10000 OK >/dev/null
check wizard-cancel-leads-to-complete on_page complete.lcd
screenshot 10-cancelled
check wizard-cancelled-back-disabled state_has complete.lcd IDC_BACK disabled
check wizard-cancelled-cancel-disabled state_has complete.lcd IDCANCEL disabled
check wizard-cancelled-status-text text_is complete.lcd IDC_INSTALLSTATUS \
  'The installation of Corvane Notes was interrupted before it could finish.'
check wizard-cancel-removes-working-folder not_exists "$work"
check wizard-cancelled-no-launch-box state_has complete.lcd IDC_LAUNCHFILE hidden
click complete.lcd IDC_FINISH
wait_setup
check wizard-cancelled-exit-1 test "$SETUP_RC" -eq 1

# ---- The destination folder check ------------------------------------------------
start_packed "$S/pkg" "$S/folder.trace"
for p in welcome license customer; do
  on_page $p.lcd || break
  [ $p = license ] && click license.lcd IDC_ACCEPTLICENSE && sleep 0.2
  click $p.lcd IDC_NEXT
done
on_page destination.lcd
browse_to() {  # TEXT: types TEXT into the folder browser and presses OK
  click destination.lcd IDC_BROWSE
  drive dlgset 15000 'Brenmark Corvane' 14148 "$1" >/dev/null
  drive dlgpress 20000 'Brenmark Corvane' 1 >/dev/null
}
# message_box FILE: the next message box; on a busy machine the folder
# browser itself may still be the dialog found first (closing it with its
# first button, OK, goes on as pressing OK would).
message_box() {
  local i
  for i in 1 2 3; do
    drive dialog 10000 >"$1"
    grep -q '^TEXT:Choose destination directory' "$1" || return 0
  done
}
for bad in 'C:\a?b' 'C:\CorvaneTest\Trail\' 'C:\ Space'; do
  browse_to "$bad"
  message_box "$S/invalid.box"
  check "wizard-folder-invalid-$(echo "$bad" | tr -cd 'a-zA-Z')" message_is "$S/invalid.box" \
    "The folder:\\n\\n$bad\\n\\nis invalid. Please reenter."
  drive dlgpress 20000 'Brenmark Corvane' 2 >/dev/null  # the browser's Cancel
  sleep 0.5
done
browse_to 'C:\CorvaneTest\Level1\Level2'
drive answer 10000 Yes >"$S/create.box"
check wizard-folder-asks-once message_is "$S/create.box" \
  'The folder:\n\nC:\CorvaneTest\Level1\Level2\n\ndoes not exist. Do you want the folder to be created?'
check wizard-folder-two-levels-created eventually 10 test -d "$WINEPREFIX/drive_c/CorvaneTest/Level1/Level2"
check wizard-folder-chosen-with-backslash eventually 10 text_is destination.lcd IDC_INSTALLDIR 'C:\CorvaneTest\Level1\Level2\'
screenshot 11-destination-chosen
click destination.lcd IDCANCEL
drive answer 10000 OK >/dev/null
on_page complete.lcd && click complete.lcd IDC_FINISH
wait_setup

# ---- Unattended mode: no window, installs, exits 0 --------------------------------
rm -rf "$INSTALLED"
make_sample "$S/quiet"
sed -i 's|^2=No$|2=Yes|' "$S/quiet/setup.inf"  # BUILDING "2": unattended
pack_project "$S/quiet" "$S/quietpkg"
THEME=$S/quietpkg/theme
start_packed "$S/quietpkg" "$S/quiet.trace" 60
no_window_until_end >"$S/quiet.seen"; unseen=$?
wait_setup
check wizard-unattended-exit-0 test "$SETUP_RC" -eq 0
check wizard-unattended-no-visible-page earlier "$unseen" "$S/quiet.seen"
check wizard-unattended-installed same_file "$S/quiet/payload/notes.txt" "$INSTALLED/notes.txt"
