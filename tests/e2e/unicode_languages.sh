#!/usr/bin/env bash
# Unicode language files under Wine: the sample's German file saved as UTF-8
# (with its byte-order mark) and as UTF-16 shows "Zurück" on a button and
# "für" in a painted text exactly, on a Russian system (ANSI code page 1251,
# which has no "ü") and on a Japanese one (932); the ANSI file stays read in
# the system's code page; cvview previews the UTF-8 file on the Russian
# system as the ANSI one on a Western system; and "Русский.lan" lists and
# applies on a Western system. The texts are read from the page as UTF-16,
# whatever the driver's own code page.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)
CVVIEW="$CV_WIN/tools/cvview/cvview.exe"

# Wine takes its ANSI code page from the process's locale, which it needs
# compiled; the locales are made once under the build folder.
LOCALES=$CV_BUILD/locale
for l in ru_RU ja_JP; do
  [ -d "$LOCALES/$l.UTF-8" ] ||
    { mkdir -p "$LOCALES" && localedef -i "$l" -f UTF-8 "$LOCALES/$l.UTF-8" >/dev/null 2>&1; }
done
check unicode-locales-made test -d "$LOCALES/ru_RU.UTF-8" -a -d "$LOCALES/ja_JP.UTF-8"

# The sample with German preselected and no language page, so the German
# file applies at once; ENCODING says how German.lan is saved.
packed() {  # NAME ENCODING (utf-8, utf-16le, or ansi: as the sample has it)
  local p=$S/$1-project
  cp -r "$CV_ROOT/examples/sample" "$p"
  sed -i 's/^METHOD=.*/METHOD=Ask User/; s/^Language=.*/Language=German/' "$p/setup.inf"
  sed -i '/^\[NTSERVICE\]/,$ s/^TOTAL=.*/TOTAL=0/' "$p/setup.inf"
  rm -f "$p/theme/askuser.lcd"
  local mark; [ "$2" = utf-8 ] && mark='\xEF\xBB\xBF' || mark='\xFF\xFE'
  [ "$2" = ansi ] ||
    { printf "$mark"; iconv -f CP1252 -t "$2" "$CV_ROOT/examples/sample/languages/German.lan"; } \
      >"$p/languages/German.lan"
  pack_project "$p" "$S/$1"
}
wtext_is() {  # LAYOUT NAME UTF8-TEXT
  local got; got=$(drive wtext "$(layout "$1")" "$2" | sed -n 's/^TEXT://p')
  [ "$got" = "$3" ] || { echo "text: $got"; return 1; }
}
cancel_run() {  # LEAVE-BUTTON
  click welcome.lcd IDCANCEL
  drive answer 10000 "$1" >/dev/null
  on_page complete.lcd 15000 && click complete.lcd IDC_FINISH
  wait_setup
}

# One run: the welcome page of package NAME under LOCALE.
welcome_in() {  # NAME LOCALE
  THEME=$S/$1/theme
  { LOCPATH=$LOCALES LC_ALL=$2 start_packed "$S/$1" "$S/$1-$2.trace"; } 2>/dev/null
  check "unicode-$1-$2-welcome" on_page welcome.lcd
  check "unicode-$1-$2-back-button" wtext_is welcome.lcd IDC_BACK '< &Zurück'
  check "unicode-$1-$2-painted-title" wtext_is welcome.lcd IDC_STATIC1 \
    'Willkommen beim Installations-Assistenten für Corvane Notes'
  screenshot "$1-$2"
  cancel_run Ja
}

packed utf8 utf-8
packed utf16 utf-16le
packed ansi ansi
welcome_in utf8 ru_RU.UTF-8
welcome_in utf8 ja_JP.UTF-8
welcome_in utf16 ru_RU.UTF-8

# The ANSI file is read in the system's code page, as it always was: on the
# Russian system its "ü" (FC) is the Cyrillic "ь" of code page 1251 (which
# also shows that the run had that code page).
THEME=$S/ansi/theme
{ LOCPATH=$LOCALES LC_ALL=ru_RU.UTF-8 start_packed "$S/ansi" "$S/ansi.trace"; } 2>/dev/null
check unicode-ansi-ru-welcome on_page welcome.lcd
check unicode-ansi-ru-in-1251 wtext_is welcome.lcd IDC_BACK '< &Zurьck'
cancel_run Ja

# ---- cvview --language shows a Unicode file as the setup does -------------------
# The UTF-8 German file previewed on a Russian system paints the very page the
# ANSI file paints on a Western one.
preview() {  # LANGUAGE-FILE PNG [LOCALE]
  { LOCPATH=$LOCALES LC_ALL=${3:-C} wine_run 60 "$CVVIEW" --language "$(zpath "$1")" \
      "$(zpath "$CV_ROOT/examples/sample/theme/welcome.lcd")" "$(zpath "$2")"; } >/dev/null 2>&1
}
preview "$CV_ROOT/examples/sample/languages/German.lan" "$S/preview-ansi.png"
preview "$S/utf8-project/languages/German.lan" "$S/preview-utf8-ru.png" ru_RU.UTF-8
check unicode-cvview-same-page bash -c "[ -s '$S/preview-ansi.png' ] &&
  compare -metric AE '$S/preview-ansi.png' '$S/preview-utf8-ru.png' null: 2>/dev/null"
mkdir -p "$CV_BUILD/artifacts/unicode_languages"
cp "$S"/preview-*.png "$CV_BUILD/artifacts/unicode_languages/" 2>/dev/null

# ---- A file name the code page lacks: "Русский.lan" on a Western system ----------
# (C.UTF-8: ANSI code page 1252, file names on Linux in UTF-8.)
P=$S/names-project
cp -r "$CV_ROOT/examples/sample" "$P"
sed -i 's/^METHOD=.*/METHOD=Ask User/; s/^Language=.*/Language=English/' "$P/setup.inf"
sed -i '/^\[NTSERVICE\]/,$ s/^TOTAL=.*/TOTAL=0/' "$P/setup.inf"
printf '\xEF\xBB\xBF[InstallWelcome]\r\n2=&Далее >\r\n' >"$P/languages/Русский.lan"
pack_project "$P" "$S/names"
check unicode-name-shipped test -f "$S/names/languages/Русский.lan"
THEME=$S/names/theme
{ LC_ALL=C.UTF-8 start_packed "$S/names" "$S/names.trace"; } 2>/dev/null
check unicode-name-language-page on_page askuser.lcd
entries() { drive wlist "$(layout askuser.lcd)" IDC_LANGUAGE | sed -n 's/^ITEM://p'; }
check unicode-name-listed eval '[ "$(entries | sort | paste -sd"|")" = "English|German|Русский" ]'
drive selectat "$(layout askuser.lcd)" IDC_LANGUAGE "$(( $(entries | grep -nx 'Русский' | cut -d: -f1) - 1 ))"
click askuser.lcd IDC_SETLANGUAGE
check unicode-name-applied on_page welcome.lcd
check unicode-name-next-russian wtext_is welcome.lcd IDC_NEXT '&Далее >'
screenshot names-russian
cancel_run OK
