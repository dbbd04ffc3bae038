#!/usr/bin/env bash
# Shortcuts under Wine, checked from outside the setup: a program group below
# the Programs menu created and logged (the menu itself never), a link read
# back through the shell's link object with every field, the icon copied from
# the payload, a web target's .url beside its .lnk, and a shortcut of a
# feature excluded on the custom setup page neither made nor logged.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-SHORTCUTS}'
LOG=$WINEPREFIX/drive_c/windows/Installer/$CODE/uninstall.log
W='C:\CorvaneShortcuts\App'
READLINK="$CV_WIN/tests/readlink.exe"
settings() {  # PAGES [more sections, printf escapes]: a project's setup.inf
  printf '[APPINFO]\r\na1=Shortcut Product\r\na2=1.0\r\na3=%s\r\na4=%s\r\n' "$CODE" "$W"
  printf '[DIALOGLIST]\r\n%b' "$1"
  printf '%b%b' "$ALL_SYSTEMS" "${2:-}"
}
# The shortcut lists below are written as they are (locations hold backslashes).
shortcut() {  # INDEX LOCATION NAME TARGET [FEATURE]: the plain fields of one entry
  printf 'A%s=%s\r\nB%s=%s\r\nC%s=%s\r\nJ%s=%s\r\n' "$1" "$2" "$1" "$3" "$1" "$4" "$1" "${5:-}"
}
new_project() {  # DIR: payload, theme and one installed file
  mkdir -p "$1/payload" "$1/theme"; cp "$CV_ROOT"/examples/sample/theme/* "$1/theme/"
  printf 'app' >"$1/payload/app.txt"
  printf 'payload\\app.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$1/data.inf"
}
log_lines() { tr -d '\r' <"$LOG"; }
# Nothing of an earlier run in this prefix may pass for this one's (Wine
# links the prefix's Desktop to $HOME).
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/{"Shortcut Tools",Readme.lnk} \
  "$HOME"/{"Corvane Site.url","Corvane Site.lnk","Kept Program.lnk","Excluded Guide.lnk"} \
  "$WINEPREFIX"/drive_c/ProgramData/Microsoft/Windows/"Start Menu"/Programs/{"Shortcut Tools",Readme.lnk} \
  "$WINEPREFIX"/drive_c/users/Public/Desktop/{"Corvane Site.url","Corvane Site.lnk","Kept Program.lnk","Excluded Guide.lnk"}
# The one logged value of KIND whose path ends with SUFFIX.
logged() { log_lines | sed -n "s/^$1=//p" | grep -F -- "$2" | head -n 1; }
link_field() { timeout 20 "$WINE" "$READLINK" "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^$2://p"; }
field_is() {  # LINK KEY EXPECTED
  local got; got=$(link_field "$1" "$2"); [ "$got" = "$3" ] || { echo "$2: $got"; return 1; }
}

# ---- An unattended run: a group, a link in the menu itself, a web shortcut ---------
P=$S/main; new_project "$P"
mkdir -p "$P/working"; printf 'icon bytes' >"$P/working/editor.ico"
settings 'TOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n' '[BUILDING]\r\n2=Yes\r\n' >"$P/setup.inf"
{
  printf '[FOLDERCV]\r\nTOTAL=3\r\n'
  shortcut 0 'Start Menu\Programs Menu\Shortcut Tools\Editor\' 'Editor' '<InstallDir>app.txt'
  printf 'D0=Edits <ProductName> files\r\nE0=Minimized\r\nF0=<InstallDir>\r\nG0=--open "<InstallDir>app.txt"\r\nH0=C:\\art\\editor.ico\r\nI0=1\r\n'
  shortcut 1 'Start Menu\Programs Menu\Readme' 'Readme' '<InstallDir>app.txt'
  shortcut 2 'Desktop\Corvane Site' 'Corvane Site' 'http://127.0.0.1/corvane'
} >>"$P/setup.inf"
pack_project "$P" "$S/mainpkg"
start_packed "$S/mainpkg" "$S/main.trace" 60
wait_setup
check shortcuts-unattended-exit-0 test "$SETUP_RC" -eq 0

EDITOR=$(logged SHORTCUT '\Shortcut Tools\Editor.lnk')
README=$(logged SHORTCUT '\Readme.lnk')
PROGRAMS=${README%\\Readme.lnk}
check shortcuts-in-programs-menu test -n "$README" -a -f "$(upath "$README")"
check shortcuts-programs-menu-under-start-menu eval '[[ $PROGRAMS == *"\\Start Menu\\Programs" ]]'
check shortcuts-group-created test -d "$(upath "$PROGRAMS\\Shortcut Tools")"
# The group is the one folder logged besides the installation folder: never
# the Programs menu itself, nor the Desktop.
check shortcuts-only-group-logged same_file <(printf 'DIR=%s\\Shortcut Tools\\\n' "$PROGRAMS") \
  <(log_lines | grep '^DIR=' | grep -vF 'DIR=C:\CorvaneShortcuts')
check shortcuts-group-link-made test -f "$(upath "$EDITOR")"
check shortcuts-link-target field_is "$EDITOR" TARGET "$W\\app.txt"
check shortcuts-link-arguments field_is "$EDITOR" ARGUMENTS "--open \"$W\\app.txt\""
check shortcuts-link-description field_is "$EDITOR" DESCRIPTION 'Edits Shortcut Product files'
check shortcuts-link-working-folder field_is "$EDITOR" WORKDIR "$W\\"
check shortcuts-link-show-minimized field_is "$EDITOR" SHOWCMD 6
check shortcuts-normal-link-show-default field_is "$(upath "$README")" SHOWCMD 1
check shortcuts-icon-copied same_file "$P/working/editor.ico" "$WINEPREFIX/drive_c/CorvaneShortcuts/App/editor.ico"
check shortcuts-link-icon field_is "$EDITOR" ICON "$W\\editor.ico"
check shortcuts-link-icon-index field_is "$EDITOR" ICONINDEX 1
# Each item is logged right after it is made: the icon before its link.
check shortcuts-log-order same_file \
  <(printf 'DIR=%s\\Shortcut Tools\\\nFILE=%s\\editor.ico\nSHORTCUT=%s\nSHORTCUT=%s\n' "$PROGRAMS" "$W" "$EDITOR" "$README") \
  <(log_lines | grep -A3 '^DIR=.*Shortcut Tools')

URL=$(logged SHORTCUT '\Corvane Site.url')
WEBLINK=$(logged SHORTCUT '\Corvane Site.lnk')
check shortcuts-web-url-made grep -q '^URL=http://127.0.0.1/corvane' "$(upath "$URL")"
check shortcuts-web-link-made test -f "$(upath "$WEBLINK")"
check shortcuts-web-in-desktop eval '[[ $URL == *"\\Desktop\\Corvane Site.url" ]]'
# Wine's link object takes an address for a path relative to the current
# folder ("...\http:\127.0.0.1\corvane"); the address must be there whole.
web_target() { local t; t=$(link_field "$WEBLINK" TARGET); [[ $t == http://127.0.0.1/corvane || $t == *\\http:\\127.0.0.1\\corvane ]] || { echo "TARGET: $t"; return 1; }; }
check shortcuts-web-link-target web_target

# ---- A shortcut of a feature excluded on the custom setup page ---------------------
P=$S/features; new_project "$P"
settings 'TOTAL1=4\r\nW0=setuptype.lcd\r\nW1=customsetup.lcd\r\nW2=progress.lcd\r\nW3=complete.lcd\r\n' \
  '[SETUPTYPE]\r\nTOTAL=2\r\nFeatureName0=Program Files\r\nDescription0=The program.\r\nFeatureName1=Documentation\r\nDescription1=The guide.\r\n[SETUPFEATURES]\r\nTOTAL=2\r\n0=Program Files\r\n1=Documentation\r\n' \
  >"$P/setup.inf"
{
  printf '[FOLDERCV]\r\nTOTAL=2\r\n'
  shortcut 0 'Desktop\Kept Program' 'Kept Program' '<InstallDir>app.txt' 'Program Files'
  shortcut 1 'Desktop\Excluded Guide' 'Excluded Guide' '<InstallDir>app.txt' 'Documentation'
} >>"$P/setup.inf"
pack_project "$P" "$S/featurespkg"
THEME=$S/featurespkg/theme
DESKTOP=$(dirname "$(upath "$URL")")
start_packed "$S/featurespkg" "$S/features.trace" 60
on_page setuptype.lcd && click setuptype.lcd IDC_CUSTOM
click setuptype.lcd IDC_NEXT
on_page customsetup.lcd
drive treemenu "$(layout customsetup.lcd)" IDC_FEATURES 1 2 >/dev/null  # Documentation: not installed
click customsetup.lcd IDC_NEXT
check shortcuts-feature-run-complete on_page complete.lcd 30000
click complete.lcd IDC_FINISH
wait_setup
check shortcuts-selected-feature-made test -f "$DESKTOP/Kept Program.lnk"
check shortcuts-selected-feature-logged grep -qF 'Kept Program.lnk' "$LOG"
check shortcuts-excluded-feature-not-made not_exists "$DESKTOP/Excluded Guide.lnk"
check shortcuts-excluded-feature-not-logged eval "! grep -qF 'Excluded Guide' '$LOG'"
