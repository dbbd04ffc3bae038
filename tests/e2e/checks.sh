#!/usr/bin/env bash
# Pre-installation checks under Wine on a 1024x768x24 screen: requirements
# refused with one message and exit code 2, administrator rights, the
# operating-system name.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

APP='[APPINFO]\r\na1=Check Product\r\na4=C:\\Apps\\Check\r\n'
system() {  # SYSTEM section allowing every system, with extra requirement lines
  printf '%s' "[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n$1"
}
passes() {  # NAME SETTINGS: the setup runs its driver to the end without a message
  make_project "$S/$1" "$2"
  start_setup "$S/$1" "$S/$1.trace"
  no_dialog_until_done "$S/$1.trace" >"$S/$1.seen"; local absent=$?
  finish_when_ready "$S/$1" "$S/$1.trace"
  check "checks-$1-no-message" earlier "$absent" "$S/$1.seen"
  check "checks-$1-driver-done" steps_in_order "$S/$1.trace" $(seq 1 24) 26
}
refused() {  # NAME SETTINGS MESSAGE: one message, exit code 2, nothing after step 12/13
  make_project "$S/$1" "$2"
  run_expecting_message "$1" "$S/$1"
  check "checks-$1-message" message_is "$S/$1.box" "$3"
  check "checks-$1-title" grep -qx 'TITLE:Brenmark Corvane' "$S/$1.box"
  check "checks-$1-exit-2" test "$SETUP_RC" -eq 2
  check "checks-$1-no-page-list" bash -c "! grep -q '^$(trace_name kPageListStep)' '$S/$1.trace'"
  check "checks-$1-working-folder-removed" working_folder_removed "$S/$1.trace"
}

passes screen-800x600 "$APP$(system '3=800x600\r\n4=32bit colors\r\n2=16 MB\r\n1=All Processors\r\n')"
refused screen-1280x1024 "$APP$(system '3=1280x1024\r\n')" \
  'The screen resolution is not adequate for running Check Product.'
refused memory "$APP$(system '2=9999999 MB\r\n')" \
  'The amount of RAM is not adequate for running Check Product.'
refused os-mask-0 "$APP[SYSTEM]\r\n3=800x600\r\n" \
  'The operating system is not adequate for running Check Product.'
refused processor "$APP$(system '1=No Such Processor 9000\r\n')" \
  'The processor is not adequate for running Check Product.'

# A REQ text from language.lan replaces the built-in one, placeholders expanded.
make_project "$S/req" "$APP[SYSTEM]\r\n"
printf '[REQ]\r\n0=<ProductName> needs another system.\r\n' >"$S/req/language.lan"
run_expecting_message req "$S/req"
check checks-req-text-from-language-file message_is "$S/req.box" 'Check Product needs another system.'

# Administrator rights: asked for ("a7" "Yes") when the program files folder cannot be read.
VERSION_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion'
reg_delete "$VERSION_KEY" /v ProgramFilesDir
refused admin "[APPINFO]\r\na1=Check Product\r\na7=Yes\r\n" \
  'Sorry, you need administrator rights to install this software.'
passes admin-not-asked "[APPINFO]\r\na1=Check Product\r\na7=yes\r\n"
reg_add "$VERSION_KEY" /v ProgramFilesDir /d 'C:\Program Files'
passes admin-present "[APPINFO]\r\na1=Check Product\r\na7=Yes\r\n"

# The operating-system name the setup determines, per reported Windows version.
os_name() {  # VERSION EXPECTED
  local name=os-${1:-default}
  if [ -n "$1" ]; then reg_add 'HKCU\Software\Wine\AppDefaults\setup.exe' /v Version /d "$1"
  else reg_delete 'HKCU\Software\Wine\AppDefaults\setup.exe'; fi
  make_project "$S/$name" "$APP"
  run_setup "$S/$name" "$S/$name.trace"
  check "checks-$name-name" test "$(trace_value "$S/$name.trace" kOperatingSystem)" = "$2"
}
os_name winxp 'XP (5.1.2600)'
os_name winxp64 'NET (5.2.3790)'
os_name "" 'NET (6.1.7601)'   # later NT systems count as "NET"; the trace shows which one

# Unattended: a refused machine shows nothing and exits with 2.
make_project "$S/quiet-refused" "$APP[BUILDING]\r\n2=Yes\r\n$(system '3=4000x3000\r\n')"
start_setup "$S/quiet-refused" "$S/quiet-refused.trace"
no_dialog_until_done >"$S/quiet.seen"; quiet_absent=$?
wait_setup
check checks-unattended-refusal-no-dialog earlier "$quiet_absent" "$S/quiet.seen"
check checks-unattended-refusal-exit-2 test "$SETUP_RC" -eq 2
check checks-unattended-refusal-working-folder-removed working_folder_removed "$S/quiet-refused.trace"
