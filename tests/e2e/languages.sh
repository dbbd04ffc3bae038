#!/usr/bin/env bash
# Languages under Wine: the language page of "Ask User" (its list, its
# preselection, a German walk through every page shown, the German cancel
# texts), "Auto-Detect" under German, Belgian Dutch and an unlisted system
# language, a method spelt in lower case, an unattended run, a read-only
# theme and a language file that lacks keys.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# The sample project with a third language that translates only the welcome
# page's Next button, and a fourth whose name begins with "English".
make_sample() {  # DEST METHOD [LANGUAGE]
  cp -r "$CV_ROOT/examples/sample" "$1"
  sed -i "s/^METHOD=.*/METHOD=$2/; s/^Language=.*/Language=${3:-English}/" "$1/setup.inf"
  sed -i '/^\[NTSERVICE\]/,$ s/^TOTAL=.*/TOTAL=0/' "$1/setup.inf"
  sed -i 's|^a4=.*|a4=C:\\CorvaneLanguages\\Notes|' "$1/setup.inf"
  printf '[InstallWelcome]\r\n2=&Volgende >\r\n' >"$1/languages/Dutch.lan"
  printf '[InstallWelcome]\r\n2=&Next (US) >\r\n' >"$1/languages/English (US).lan"
}
packed() {  # NAME METHOD [LANGUAGE]: a packed project in $S/NAME
  make_sample "$S/$1-project" "$2" "$3"
  pack_project "$S/$1-project" "$S/$1"
}
# The texts of the German file as the pages show them (code page 1252).
de() { printf '%s' "$1" | iconv -f UTF-8 -t CP1252; }
list_is() {  # LAYOUT NAME ITEMS: the combo box's entries, sorted, joined by "|"
  local got; got=$(drive list "$(layout "$1")" "$2" | sed -n 's/^ITEM://p' | sort | paste -sd'|')
  [ "$got" = "$3" ] || { echo "list: $got"; return 1; }
}
selected_is() {  # LAYOUT NAME TEXT
  drive list "$(layout "$1")" "$2" | grep -qx "SELECTED:$3"
}
text_has() { [[ "$(text_of "$1" "$2")" == *"$3"* ]] || { echo "text: $(text_of "$1" "$2")"; return 1; }; }
question_has() { drive wait-dialog 10000 | grep -qF "$1"; }
# Ends a run that waits on a page: Cancel, confirmed.
cancel_run() {  # LAYOUT
  click "$1" IDCANCEL
  drive answer 10000 "${2:-OK}" >/dev/null
  on_page complete.lcd 15000 && click complete.lcd IDC_FINISH
  wait_setup
}

# ---- Ask User: the page, German chosen, every page in German ---------------------
packed ask "Ask User"
THEME=$S/ask/theme
start_packed "$S/ask" "$S/ask.trace"
check languages-page-shown on_page askuser.lcd
check languages-page-lists-the-files list_is askuser.lcd IDC_LANGUAGE 'Dutch|English|English (US)|German'
check languages-page-selects-equal-entry selected_is askuser.lcd IDC_LANGUAGE English
drive select "$(layout askuser.lcd)" IDC_LANGUAGE German >/dev/null
click askuser.lcd IDC_SETLANGUAGE

check languages-welcome-german on_page welcome.lcd
check languages-welcome-next text_is welcome.lcd IDC_NEXT '&Weiter >'
check languages-welcome-title-expanded text_is welcome.lcd IDC_STATIC1 \
  "$(de 'Willkommen beim Installations-Assistenten für Corvane Notes')"
click welcome.lcd IDC_NEXT
check languages-license-german on_page license.lcd
check languages-license-title text_is license.lcd IDC_TITLE 'Lizenzvertrag'
check languages-license-accept-value text_is license.lcd IDC_ACCEPTLICENSE \
  'Ich &akzeptiere die Bedingungen des Lizenzvertrags'
click license.lcd IDC_ACCEPTLICENSE; sleep 0.2; click license.lcd IDC_NEXT
check languages-customer-german text_is customer.lcd IDC_TITLE 'Benutzerinformationen'
click customer.lcd IDC_NEXT
check languages-destination-german text_is destination.lcd IDC_BROWSE "$(de 'Ä&ndern...')"
click destination.lcd IDC_NEXT
check languages-setuptype-german text_is setuptype.lcd IDC_TYPICAL '&Standard'
click setuptype.lcd IDC_NEXT
check languages-ready-german text_is ready.lcd IDC_NEXT '&Installieren'
# The chosen type by the name the setup type page showed, not the built-in one.
check languages-ready-setup-type-german text_has ready.lcd IDC_SETTINGS 'Setup Type:\r\n\r\nStandard\r\n'
screenshot ready-german
click ready.lcd IDC_NEXT
check languages-complete-shown on_page complete.lcd 60000
check languages-complete-german text_is complete.lcd IDC_FINISH '&Fertig stellen'
check languages-complete-status-expanded text_is complete.lcd IDC_INSTALLSTATUS \
  'Corvane Notes wurde erfolgreich auf Ihrem Computer installiert.'
click complete.lcd IDC_FINISH
wait_setup
check languages-ask-exit-0 test "$SETUP_RC" -eq 0
check languages-ask-trace grep -qx "$(trace_name kLanguageApplied)=German" <(tr -d '\r' <"$S/ask.trace")
check languages-removal-page-language-kept cmp -s "$S/ask/languages/German.lan" \
  "$WINEPREFIX/drive_c/windows/Installer/$(sed -n 's/^a3=//p' "$S/ask-project/setup.inf" | head -1 | tr -d '\r')/pages.lan"

# The cancel confirmation and the cancelled complete page speak German too.
start_packed "$S/ask" "$S/cancel.trace"
on_page askuser.lcd && drive select "$(layout askuser.lcd)" IDC_LANGUAGE German >/dev/null
click askuser.lcd IDC_SETLANGUAGE
on_page welcome.lcd
click welcome.lcd IDCANCEL
check languages-cancel-question-german question_has \
  "$(de 'Möchten Sie die Installation von Corvane Notes wirklich abbrechen?')"
drive answer 10000 Ja >/dev/null
check languages-cancelled-complete on_page complete.lcd 15000
check languages-cancelled-status-german text_is complete.lcd IDC_INSTALLSTATUS \
  "$(de 'Die Installation wurde abgebrochen, bevor Corvane Notes installiert werden konnte. Ihr System wurde nicht verändert.')"

click complete.lcd IDC_FINISH
wait_setup

# ---- Unattended: no page; the preselected language when its file exists ----------
packed quiet "Ask User" German
sed -i 's/^2=.*/2=Yes/' "$S/quiet-project/setup.inf"; pack_project "$S/quiet-project" "$S/quiet"
start_packed "$S/quiet" "$S/quiet.trace"; wait_setup
check languages-unattended-exit-0 earlier "$SETUP_RC" "$S/quiet.trace.wine"
check languages-unattended-applies-preselected \
  grep -qx "$(trace_name kLanguageApplied)=German" <(tr -d '\r' <"$S/quiet.trace")
check languages-unattended-no-language-page bash -c "! grep -q '^page=askuser' '$S/quiet.trace'"

# ---- Auto-Detect, under the locales of the system --------------------------------
LOCALES=$CV_BUILD/locale
for l in de_DE nl_BE fi_FI; do
  [ -d "$LOCALES/$l.UTF-8" ] ||
    { mkdir -p "$LOCALES" && localedef -i $l -f UTF-8 "$LOCALES/$l.UTF-8" >/dev/null 2>&1; }
done
check languages-locales-made test -d "$LOCALES/nl_BE.UTF-8"
packed auto "Auto-Detect"
THEME=$S/auto/theme
# German, from a theme nobody may write: nothing is written there.
chmod -R a-w "$THEME"; sums=$(md5sum "$THEME"/*.lcd)
detect() {  # LOCALE TRACE
  { LOCPATH=$LOCALES LC_ALL=$1.UTF-8 start_packed "$S/auto" "$2" 90; } 2>/dev/null
  on_page welcome.lcd
}
detect de_DE "$S/de.trace"
check languages-auto-german text_is welcome.lcd IDC_NEXT '&Weiter >'
check languages-auto-theme-untouched bash -c "[ \"\$(md5sum '$THEME'/*.lcd)\" = '$sums' ]"
cancel_run welcome.lcd Ja
chmod -R u+w "$THEME"
# Dutch as used in Belgium; its file translates only Next: the rest stays.
detect nl_BE "$S/nl.trace"
check languages-auto-dutch text_is welcome.lcd IDC_NEXT '&Volgende >'
check languages-missing-key-keeps-text text_is welcome.lcd IDC_BACK '< &Back'
check languages-missing-key-keeps-title text_is welcome.lcd IDC_STATIC1 'Welcome to the Corvane Notes Setup Wizard'
cancel_run welcome.lcd
# An unlisted language leaves the authored texts.
detect fi_FI "$S/fi.trace"
check languages-auto-unlisted-authored text_is welcome.lcd IDC_NEXT '&Next >'
check languages-auto-unlisted-nothing-applied \
  bash -c "! grep -q '^$(trace_name kLanguageApplied)=' '$S/fi.trace'"
cancel_run welcome.lcd

# ---- A method in lower case picks nothing -------------------------------------------
packed lower "ask user"
THEME=$S/lower/theme
start_packed "$S/lower" "$S/lower.trace"
check languages-lower-case-welcome-first on_page welcome.lcd
check languages-lower-case-no-page bash -c "! grep -q '^page=askuser' '$S/lower.trace'"
check languages-lower-case-authored text_is welcome.lcd IDC_NEXT '&Next >'
cancel_run welcome.lcd
