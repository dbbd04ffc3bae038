#!/usr/bin/env bash
# What the wizard keeps between pages and after the installation: the launch
# file follows the folder chosen on the destination page, the installation
# folder may name the product code, the feature tree keeps its exclusions
# when revisited and a typical setup installs every feature, and after the
# installation Escape and the close box end the setup as Finish does.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{C0FFEE00-WIZ-STATE}'
ROOT=$WINEPREFIX/drive_c/CorvaneWizard
settings() {  # PAGES [more sections]: a project's setup.inf
  printf '[APPINFO]\r\na1=Wizard State\r\na2=2.0\r\na3=%s\r\na4=%s\r\n' "$CODE" "$1"
  printf '[DIALOGLIST]\r\n%b' "$2"
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'
  printf '%b' "${3:-}"
}
record() {  # SOURCE FEATURE: one data.inf record into the installation folder
  printf '%s\r\nDestination Computer\\<InstallDir>\\*0*0*1|%s\r\n' "$1" "$2"
}
new_project() {  # DIR: payload and theme folders with the sample theme
  mkdir -p "$1/payload" "$1/theme"; cp "$CV_ROOT"/examples/sample/theme/* "$1/theme/"
}

# ---- The launch file follows the chosen folder ------------------------------------
# The folder names the product code; the launch file is the installed
# stand-in program under <InstallDir>.
P=$S/launch; new_project "$P"
cp "$CV_WIN/tests/recordrun.exe" "$P/payload/app.exe"
record payload/app.exe '' >"$P/data.inf"
settings 'C:\CorvaneWizard\<ProductCode>' \
  'TOTAL1=3\r\nW0=destination.lcd\r\nW1=progress.lcd\r\nW2=complete.lcd\r\nCT9=Yes\r\nCT10=<InstallDir>app.exe\r\nCT11=--product <ProductCode>\r\nCT12=No\r\n' \
  >"$P/setup.inf"
pack_project "$P" "$S/launchpkg"
THEME=$S/launchpkg/theme
rm -rf "$ROOT"
start_packed "$S/launchpkg" "$S/launch.trace"
check wizstate-folder-names-product-code text_is destination.lcd IDC_INSTALLDIR "C:\\CorvaneWizard\\$CODE\\"
click destination.lcd IDC_BROWSE
drive dlgset 15000 'Brenmark Corvane' 14148 'C:\CorvaneWizard\Chosen' >/dev/null
drive dlgpress 20000 'Brenmark Corvane' 1 >/dev/null
drive answer 10000 Yes >/dev/null
check wizstate-folder-chosen eventually 10 text_is destination.lcd IDC_INSTALLDIR 'C:\CorvaneWizard\Chosen\'
click destination.lcd IDC_NEXT
check wizstate-launch-complete on_page complete.lcd 30000
check wizstate-launch-offered state_has complete.lcd IDC_LAUNCHFILE checked
click complete.lcd IDC_FINISH
wait_setup
check wizstate-finish-launches-in-chosen-folder eventually 10 grep -qF -- "--product $CODE" "$ROOT/Chosen/app.exe.calls.txt"

# ---- Escape and the close box after the installation -------------------------------
# They act as Finish: no question, the launch as the page shows it.
DEFAULT=$ROOT/$CODE
leave_complete_page() {  # NAME: installs into the default folder, then NAME's action
  # A program launched by the run before records "done" a moment after it started.
  [ -e "$DEFAULT/app.exe.calls.txt" ] && eventually 10 grep -qx done "$DEFAULT/app.exe.calls.txt"
  rm -f "$DEFAULT/app.exe.calls.txt"
  start_packed "$S/launchpkg" "$S/$1.trace"
  on_page destination.lcd && click destination.lcd IDC_NEXT
  check "wizstate-$1-complete" on_page complete.lcd 30000
}
leave_complete_page escape
drive key "$(layout complete.lcd)" 27 >/dev/null
check wizstate-escape-asks-nothing no_dialog_until_done
wait_setup
check wizstate-escape-ends-setup test "$SETUP_RC" -eq 0
check wizstate-escape-launches-as-finish eventually 10 test -e "$DEFAULT/app.exe.calls.txt"

leave_complete_page close
click complete.lcd IDC_LAUNCHFILE
drive close "$(layout complete.lcd)" >/dev/null
check wizstate-close-asks-nothing no_dialog_until_done
wait_setup
check wizstate-close-ends-setup test "$SETUP_RC" -eq 0
check wizstate-close-keeps-unchecked-launch launched_nothing "$S/close.trace" "$DEFAULT/app.exe.calls.txt"

# ---- The feature tree keeps its exclusions; typical installs every feature -----------
P=$S/features; new_project "$P"
printf 'program' >"$P/payload/program.txt"; printf 'guide' >"$P/payload/guide.txt"
{ record payload/program.txt 'Program Files'; record payload/guide.txt 'Documentation'; } >"$P/data.inf"
settings 'C:\CorvaneWizard\Features' \
  'TOTAL1=4\r\nW0=setuptype.lcd\r\nW1=customsetup.lcd\r\nW2=progress.lcd\r\nW3=complete.lcd\r\n' \
  '[SETUPTYPE]\r\nTOTAL=2\r\nFeatureName0=Program Files\r\nDescription0=The program.\r\nFeatureName1=Documentation\r\nDescription1=The guide.\r\n[SETUPFEATURES]\r\nTOTAL=2\r\n0=Program Files\r\n1=Documentation\r\n' \
  >"$P/setup.inf"
pack_project "$P" "$S/featurespkg"
THEME=$S/featurespkg/theme
tree_is() {  # EXPECTED: the custom setup page's items as "image text" lines
  local got; got=$(drive tree "$(layout customsetup.lcd)" IDC_FEATURES | sed -n 's/^ITEM://p')
  [ "$got" = "$(printf "$1")" ] || { echo "tree: $got"; return 1; }
}
rm -rf "$ROOT"
start_packed "$S/featurespkg" "$S/features.trace"
on_page setuptype.lcd && click setuptype.lcd IDC_CUSTOM
click setuptype.lcd IDC_NEXT
on_page customsetup.lcd
drive treemenu "$(layout customsetup.lcd)" IDC_FEATURES 1 2 >/dev/null  # Documentation: not installed
check wizstate-tree-excludes eventually 20 tree_is '0 Program Files\n1 Documentation'
click customsetup.lcd IDC_BACK
on_page setuptype.lcd && click setuptype.lcd IDC_NEXT
on_page customsetup.lcd
check wizstate-tree-keeps-exclusion-on-revisit tree_is '0 Program Files\n1 Documentation'
click customsetup.lcd IDC_BACK
on_page setuptype.lcd && click setuptype.lcd IDC_TYPICAL
click setuptype.lcd IDC_NEXT
check wizstate-typical-complete on_page complete.lcd 30000
check wizstate-typical-installs-every-feature same_file "$P/payload/guide.txt" "$ROOT/Features/guide.txt"
click complete.lcd IDC_FINISH
wait_setup
