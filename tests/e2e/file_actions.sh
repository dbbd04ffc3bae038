#!/usr/bin/env bash
# File actions, add-on programs and merge modules end to end: programs and a
# library run at their pages, for the start page and after Finish; a library
# that abandons the setup; a real Windows Installer package installed from the
# add-on page after the installation; the command line, the package chosen and
# the count seen through a stand-in msiexec.exe.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

TOOLS=$S/tools; mkdir -p "$TOOLS"
cp "$CV_WIN/tests/recordrun.exe" "$TOOLS/rec.exe"
cp "$CV_WIN/tests/fileaction.dll" "$TOOLS/fileaction.dll"
REC_W="$(zpath "$TOOLS")\\rec.exe"
DLL_W="$(zpath "$TOOLS")\\fileaction.dll"
REC=$TOOLS/rec.exe.calls.txt
DLL_REC=$TOOLS/fileaction.dll.calls.txt
CODE='{C0FFEE00-FILE-ACTS}'

# project DIR SETTINGS: a project folder installing one file into
# C:\CorvaneFA\<DIR's name>, with the default theme; SETTINGS adds sections.
project() {
  mkdir -p "$1/theme" "$1/payload"
  cp "$CV_ROOT"/examples/sample/theme/* "$1/theme/"
  printf 'one' >"$1/payload/one.txt"
  printf 'payload/one.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$1/data.inf"
  { printf '[APPINFO]\na1=FA Product\na2=1.0\na3=%s\na4=C:\\CorvaneFA\\%s\n' "$CODE" "$(basename "$1")"
    printf '[SYSTEM]\nos0=Yes\nos1=Yes\nos2=Yes\nos3=Yes\nos4=Yes\nos5=Yes\nos6=Yes\n'
    printf '[CONDITIONS]\nTOTAL=1\nA0=Never\nB0=1\nC0===\nD0=2\nF0=0\n'
    printf '%s\n' "$2"; } >"$1/setup.inf"
}
# recorded FILE: the lines a recordrun copy or the test library wrote.
recorded() { tr -d '\r' <"$1" 2>/dev/null; }
recorded_is() { local got; got=$(recorded "$1"); [ "$got" = "$2" ] || { echo "recorded: $got"; return 1; }; }
trace_has() { tr -d '\r' <"$1" | grep -qF -- "$2"; }

WIZARD="[DIALOGLIST]
TOTAL1=3
W0=welcome.lcd
W1=progress.lcd
W2=complete.lcd"
INSTALL_ONLY="[DIALOGLIST]
TOTAL1=2
W0=progress.lcd
W1=complete.lcd"

# ---- Each kind at its page, the start page once, Finish -----------------------------
P=$S/actions
project "$P" "$WIZARD
[FILEACTION]
TOTAL=4
B0=$REC_W
C0=start page
E0=Installation Start
H0=Yes
B1=$REC_W
C1=welcome once
E1=Install Welcome
G1=Yes
H1=Yes
B2=$DLL_W
C2=Rewrite
E2=Setup Complete
B3=$REC_W
C3=after finish <ProductName>
E3=After Click Finish Button
H3=Yes"
pack_project "$P" "$S/actions-pkg"
THEME=$S/actions-pkg/theme
start_packed "$S/actions-pkg" "$S/actions.trace"
check fileactions-welcome-shown on_page welcome.lcd
# Both were waited for before the page showed.
check fileactions-start-and-welcome-waited recorded_is "$REC" "CMDLINE:\"$REC_W\" start page"$'\ndone\n'"CMDLINE:\"$REC_W\" welcome once"$'\ndone'
click welcome.lcd IDC_NEXT
check fileactions-complete-shown on_page complete.lcd 60000
check fileactions-library-gets-install-folder recorded_is "$DLL_REC" 'Rewrite:C:\CorvaneFA\actions\'
check fileactions-library-buffer-rewritten trace_has "$S/actions.trace" 'file action buffer=rewritten C:\CorvaneFA\actions\'
click complete.lcd IDC_FINISH
wait_setup
check fileactions-after-finish-waited recorded_is "$REC" \
  "CMDLINE:\"$REC_W\" start page"$'\ndone\n'"CMDLINE:\"$REC_W\" welcome once"$'\ndone\n'"CMDLINE:\"$REC_W\" after finish FA Product"$'\ndone'
check fileactions-installed-exit-0 test "$SETUP_RC" -eq 0

# ---- A library that abandons the setup -------------------------------------------------
ABANDON="$WIZARD
[FILEACTION]
TOTAL=1
B0=$DLL_W
C0=Abandon
E0=Install Welcome"
P=$S/abandon
project "$P" "$ABANDON"
pack_project "$P" "$S/abandon-pkg"
THEME=$S/abandon-pkg/theme
start_packed "$S/abandon-pkg" "$S/abandon.trace"
check fileactions-abandon-error-page on_page setuperror.lcd
check fileactions-abandon-no-welcome eval '! grep -q "^page=welcome.lcd" "$S/abandon.trace"'
check fileactions-abandon-working-folder-removed not_exists "$(working_folder "$S/abandon.trace")"
click setuperror.lcd IDOK
wait_setup
check fileactions-abandon-nothing-installed not_exists "$WINEPREFIX/drive_c/CorvaneFA/abandon"

# Unattended, from a disk image: the start page is never made, its actions run all the same.
P=$S/abandon-image
project "$P" "$INSTALL_ONLY
[BUILDING]
2=Yes
[FILEACTION]
TOTAL=1
B0=$DLL_W
C0=Abandon
E0=Installation Start"
pack_project "$P" "$S/abandon-image-pkg"
mkdir -p "$S/abandon-image-pkg/DiskImage1"
printf 'one' >"$S/abandon-image-pkg/DiskImage1/F0_one.txt"
start_packed "$S/abandon-image-pkg" "$S/abandon-image.trace"
wait_setup
check fileactions-abandon-disk-image-start-exit-1 test "$SETUP_RC" -eq 1
check fileactions-abandon-disk-image-nothing-installed not_exists "$WINEPREFIX/drive_c/CorvaneFA/abandon-image"

# ---- A real package from the add-on page, after an add-on program ---------------------------
M=$S/msi; mkdir -p "$M"
printf 'added by the merge modules' >"$M/addon.txt"
cat >"$M/addon.wxs" <<'EOF'
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Corvane AddOn Test" Language="1033" Version="1.0.0" Manufacturer="Brenmark"
           UpgradeCode="6E1B2C74-0F5A-4C3B-9D1E-2A7F3B5C8D90">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine" Platform="x64"/>
    <Media Id="1" Cabinet="addon.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFiles64Folder">
        <Directory Id="INSTALLDIR" Name="CorvaneAddOn">
          <Component Id="AddOnFile" Guid="3F0C9A51-7B2D-4E86-A1C4-5D9E0B7F2A63" Win64="yes">
            <File Id="AddOnText" Source="addon.txt" KeyPath="yes"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1"><ComponentRef Id="AddOnFile"/></Feature>
  </Product>
</Wix>
EOF
(cd "$M" && wixl -a x64 -o mergemod.msi addon.wxs) >>"$CV_LOG" 2>&1
ADDON_FILE="$WINEPREFIX/drive_c/Program Files/CorvaneAddOn/addon.txt"
P=$S/package
project "$P" "$INSTALL_ONLY
[MERGEMODULES]
TOTAL=1
C0=<ResourceDir>\\addon_3010.exe
D0=/passive <ProductVersion>"
mkdir -p "$P/SupportFiles"
cp "$M/mergemod.msi" "$P/SupportFiles/"
cp "$CV_WIN/tests/recordrun.exe" "$P/SupportFiles/addon_3010.exe"
pack_project "$P" "$S/package-pkg"
THEME=$S/package-pkg/theme
start_packed "$S/package-pkg" "$S/package.trace" 180
check fileactions-package-addon-page on_page 3rdparty.lcd 60000
check fileactions-package-complete-shown on_page complete.lcd 120000
check fileactions-package-file-installed same_file "$ADDON_FILE" "$M/addon.txt"
# The program's own name first: a C runtime takes the first word for it.
check fileactions-addon-program-ran recorded_is "$S/package-pkg/SupportFiles/addon_3010.exe.calls.txt" \
  "CMDLINE:\"$(zpath "$S/package-pkg")\\SupportFiles\\addon_3010.exe\" /passive 1.0"$'\ndone'
check fileactions-restart-said text_is complete.lcd IDC_INSTALLSTATUS \
  'FA Product is installed. Restart your computer to complete the installation.'
check fileactions-package-working-folder-removed not_exists "$(working_folder "$S/package.trace")"
click complete.lcd IDC_FINISH
wait_setup
check fileactions-package-interactive-exit-3010 test "$SETUP_RC" -eq $((3010 % 256))
wine_run 120 msiexec /x "$(zpath "$M/mergemod.msi")" /qn >/dev/null 2>&1

# ---- The Windows Installer's command line, seen through a stand-in --------------------------
SYS=$WINEPREFIX/drive_c/windows/system32
cp "$SYS/msiexec.exe" "$S/msiexec.exe.real"
trap 'cp "$S/msiexec.exe.real" "$SYS/msiexec.exe"' EXIT
cp "$CV_WIN/tests/recordrun.exe" "$SYS/msiexec.exe"
rm -f "$SYS/msiexec.exe.calls.txt"
P=$S/standin
project "$P" "$INSTALL_ONLY
[BUILDING]
2=Yes
[MERGEMODULES]
TOTAL=4
C0=<ResourceDir>\\addon_3010.exe
D0=/quiet <ProductName>
E1=0
E2=2
G3=Never
[FILEACTION]
TOTAL=1
B0=$REC_W
C0=unattended finish
E0=After Click Finish Button
H0=Yes"
mkdir -p "$P/SupportFiles"
printf 'beside' >"$P/mergemod.msi"
printf 'support' >"$P/SupportFiles/mergemod.msi"
cp "$CV_WIN/tests/recordrun.exe" "$P/SupportFiles/addon_3010.exe"
pack_project "$P" "$S/standin-pkg"
rm -f "$REC"
# Wine would start its own msiexec.exe whatever the file in the system folder holds.
OVERRIDES=$WINEDLLOVERRIDES
export WINEDLLOVERRIDES="$OVERRIDES;msiexec.exe=n"
start_packed "$S/standin-pkg" "$S/standin.trace" 120
wait_setup
export WINEDLLOVERRIDES=$OVERRIDES
PKG_W="$(zpath "$S/standin-pkg")\\mergemod.msi"
# Once for each entry the system, feature and condition allow; the package
# beside the setup rather than the one in SupportFiles.
msiexec_calls() {
  local want="cmdline:${1,,}\\msiexec.exe /i \"${PKG_W,,}\" /q"
  [ "$(recorded "$SYS/msiexec.exe.calls.txt" | tr 'A-Z' 'a-z')" = "$want"$'\ndone\n'"$want"$'\ndone' ] ||
    { recorded "$SYS/msiexec.exe.calls.txt"; return 1; }
}
check fileactions-msiexec-once-per-allowed-entry msiexec_calls 'C:\windows\system32'
check fileactions-unattended-addon-ran recorded_is "$S/standin-pkg/SupportFiles/addon_3010.exe.calls.txt" \
  "CMDLINE:\"$(zpath "$S/standin-pkg")\\SupportFiles\\addon_3010.exe\" /quiet FA Product"$'\ndone'
check fileactions-unattended-after-finish recorded_is "$REC" "CMDLINE:\"$REC_W\" unattended finish"$'\ndone'
# Wine hands the shell the low byte of the exit code 3010.
check fileactions-unattended-restart-exit-3010 test "$SETUP_RC" -eq $((3010 % 256))
check fileactions-unattended-working-folder-removed not_exists "$(working_folder "$S/standin.trace")"
reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"

# ---- A failed add-on program: the installation stands, the run says which failed -------
# pack_with_addon PROJECT PACKAGE PROGRAM: packs PROJECT with a recording stand-in
# named PROGRAM in its SupportFiles folder.
pack_with_addon() {
  mkdir -p "$1/SupportFiles"
  cp "$CV_WIN/tests/recordrun.exe" "$1/SupportFiles/$3"
  pack_project "$1" "$2"
  THEME=$2/theme
}
P=$S/failing
project "$P" "$INSTALL_ONLY
[MERGEMODULES]
TOTAL=1
C0=<ResourceDir>\\addon_1603.exe"
pack_with_addon "$P" "$S/failing-pkg" addon_1603.exe
start_packed "$S/failing-pkg" "$S/failing.trace" 120
check fileactions-failed-addon-complete on_page complete.lcd 60000
failure=$(trace_value "$S/failing.trace" kAddOnFailed)
check fileactions-failed-addon-traced eval '[[ "$failure" == *'\''\SupportFiles\addon_1603.exe: exit code 1603'\'' ]]'
check fileactions-failed-addon-said text_is complete.lcd IDC_INSTALLSTATUS \
  "FA Product is installed, but these add-on programs or packages failed:\\r\\n$failure"
click complete.lcd IDC_FINISH
wait_setup
check fileactions-failed-addon-exit-6 test "$SETUP_RC" -eq 6
check fileactions-failed-addon-installation-stands test -e "$WINEPREFIX/drive_c/CorvaneFA/failing/one.txt"
sed -i 's/^\[SYSTEM\]/[BUILDING]\n2=Yes\n[SYSTEM]/' "$P/setup.inf"
pack_with_addon "$P" "$S/failing-quiet-pkg" addon_1603.exe
start_packed "$S/failing-quiet-pkg" "$S/failing-quiet.trace" 120
wait_setup
check fileactions-failed-addon-unattended-exit-6 test "$SETUP_RC" -eq 6
reg_delete "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"

# ---- A condition of an add-on entry cancels after the installation: it is rolled back --
P=$S/cancelling
project "$P" "$INSTALL_ONLY
[MERGEMODULES]
TOTAL=1
C0=<ResourceDir>\\addon.exe
G0=Stop"
sed -i '/^\[CONDITIONS\]/,/^\[/{s/^A0=Never/A0=Stop/;s/^D0=2/D0=1/;s/^F0=0/F0=1\n00=CancelInstall();/}' "$P/setup.inf"
pack_with_addon "$P" "$S/cancelling-pkg" addon.exe
start_packed "$S/cancelling-pkg" "$S/cancelling.trace" 120
check fileactions-addon-cancel-complete on_page complete.lcd 60000
check fileactions-addon-cancel-interrupted text_is complete.lcd IDC_INSTALLSTATUS \
  'The installation of FA Product was interrupted before it could finish.'
click complete.lcd IDC_FINISH
wait_setup
check fileactions-addon-cancel-exit-1 test "$SETUP_RC" -eq 1
check fileactions-addon-cancel-file-rolled-back not_exists "$WINEPREFIX/drive_c/CorvaneFA/cancelling/one.txt"
check fileactions-addon-cancel-unregistered eval '! "$WINE" reg query "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE" >/dev/null 2>&1'
check fileactions-addon-cancel-log-gone not_exists "$WINEPREFIX/drive_c/windows/Installer/$CODE/uninstall.log"
