#!/usr/bin/env bash
# Earlier installations under Wine: the uninstaller started and waited for,
# or the earlier folder taken over.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

CODE='{0A1B2C3D-PREV-TEST}'
UNINSTALL="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$CODE"
WINDIR=$WINEPREFIX/drive_c/windows
CALLS=$WINDIR/cvexec.exe.calls.txt
cp "$CV_WIN/tests/recordrun.exe" "$WINDIR/cvexec.exe"
app() { printf '%s' "[APPINFO]\r\na1=Prev Product\r\na3=$CODE\r\na4=C:\\\\Apps\\\\Prev\r\n$1"; }
install_folder() { trace_value "$1" kInstallFolderAfterChecks; }
run_project() { rm -f "$CALLS"; make_project "$S/$1" "$2"; run_setup "$S/$1" "$S/$1.trace"; }

# "New Installation" + "a29" "Yes" with the product registered: cvexec.exe runs and is waited for.
reg_add "$UNINSTALL" /v DisplayName /d 'Prev Product'
run_project remove "$(app 'a26=New Installation\r\na29=Yes\r\n')"
# Its own name first, then the option and the code; last the setup's log,
# which it writes into.
check previous-uninstaller-command-line grep -qxF "CMDLINE:\"C:\\windows\\cvexec.exe\" \"/S\" $CODE /LOG=$(zpath "$S/remove.trace")" "$CALLS"
check previous-uninstaller-waited-for grep -qx done "$CALLS"
check previous-remove-exit-0 test "$SETUP_RC" -eq 0
run_project remove-not-asked "$(app 'a26=New Installation\r\na29=yes\r\n')"
check previous-remove-needs-exact-yes not_exists "$CALLS"

# Without DisplayName nothing runs.
reg_delete "$UNINSTALL"
run_project nothing-registered "$(app 'a26=New Installation\r\na29=Yes\r\n')"
check previous-nothing-registered-nothing-runs not_exists "$CALLS"

# "Upgrade" + "Auto-Detect": the registered folder, with a trailing backslash.
reg_add "$UNINSTALL" /v LastInstallationPath /d 'D:\Apps\Tool'
run_project upgrade "$(app 'a26=Upgrade\r\na27=Auto-Detect\r\n')"
check previous-upgrade-takes-registered-folder test "$(install_folder "$S/upgrade.trace")" = 'D:\Apps\Tool\'
run_project upgrade-lower "$(app 'a26=upgrade\r\na27=Auto-Detect\r\n')"
check previous-lower-case-mode-does-nothing test "$(install_folder "$S/upgrade-lower.trace")" = 'C:\Apps\Prev\'
reg_delete "$UNINSTALL"
run_project upgrade-none "$(app 'a26=Upgrade\r\na27=Auto-Detect\r\n')"
check previous-upgrade-nothing-registered-keeps-a4 test "$(install_folder "$S/upgrade-none.trace")" = 'C:\Apps\Prev\'

# "Upgrade" with a registry path in "a28".
reg_add 'HKCU\Software\CorvanePrev' /v Folder /d 'E:\Old\Place\'
run_project a28-user "$(app 'a26=Upgrade\r\na27=Manual\r\na28=HKEY_CURRENT_USER\\Software\\CorvanePrev\\Folder\r\n')"
check previous-a28-current-user test "$(install_folder "$S/a28-user.trace")" = 'E:\Old\Place\'
reg_add 'HKCR\CorvanePrev' /v Folder /d 'E:\Classes\'
run_project a28-classes "$(app 'a26=Upgrade\r\na27=Manual\r\na28=HKEY_CLASSES_ROOT\\CorvanePrev\\Folder\r\n')"
check previous-a28-classes-root-reads-nothing test "$(install_folder "$S/a28-classes.trace")" = 'C:\Apps\Prev\'
reg_delete 'HKCU\Software\CorvanePrev'; reg_delete 'HKCR\CorvanePrev'
rm -f "$WINDIR/cvexec.exe" "$CALLS"
