#!/usr/bin/env bash
# setup.exe start-up under Wine: the data-files message, decryption into the
# working folder, theme files, disk-image mode and damaged project files.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

DATA_FILES_MSG='Sorry, Corvane can'"'"'t find data files.\r\nsetup.nsx and data.nsx\r\nThese files must be in the same directory of setup.exe'

PRODUCT='[APPINFO]\r\na1=Trace Product\r\na19=Brenmark QA\r\na2=2.5.1\r\na3={5E1A-TEST}\r\na4=C:\\Apps\\Trace\r\nLanguage=English\r\n[BUILDING]\r\n2=No\r\n'
project() { make_project "$1" "$PRODUCT"; }

# 1. No project files: the data-files message, exit code 4 (the setup did not run), no step after 6.
mkdir -p "$S/empty"
start_setup "$S/empty" "$S/empty.trace"
drive dialog 20000 >"$S/empty.box"
wait_setup
check startup-missing-files-message message_is "$S/empty.box" "$DATA_FILES_MSG"
check startup-missing-files-exit-4 test "$SETUP_RC" -eq 4
check startup-missing-files-stops-at-step-6 steps_in_order "$S/empty.trace" 1 2 3 4 5 6

# 2. setup.nsx without data.nsx: the same message, although setup.inf was made.
project "$S/half" && rm "$S/half/data.nsx"
start_setup "$S/half" "$S/half.trace"
drive wait-dialog 20000 >/dev/null  # the settings were decrypted before the message
check startup-data-missing-settings-decrypted same_file <(zero_padded "$S/half/setup.plain") \
  "$(working_folder "$S/half.trace")/setup.inf"
drive dialog 20000 >"$S/half.box"
wait_setup
check startup-data-missing-message message_is "$S/half.box" "$DATA_FILES_MSG"
check startup-data-missing-exit-4 test "$SETUP_RC" -eq 4
check startup-data-missing-working-folder-removed working_folder_removed "$S/half.trace"

# 3. A good project: decrypted into %TEMP%\cvHHMMSS\, settings read, every step run.
project "$S/good"
start_setup "$S/good" "$S/good.trace"
eventually 60 grep -q "^$(trace_name kDriverDone)" "$S/good.trace"  # the wizard is up
work=$(working_folder "$S/good.trace")
check startup-setup-inf-is-plaintext-plus-padding same_file <(zero_padded "$S/good/setup.plain") "$work/setup.inf"
check startup-data-inf-is-plaintext-plus-padding same_file <(zero_padded "$S/good/data.plain") "$work/data.inf"
finish_when_ready "$S/good" "$S/good.trace"
check startup-good-exit-0 test "$SETUP_RC" -eq 0
check startup-good-all-steps-in-order steps_in_order "$S/good.trace" $(seq 1 24) 26
check startup-working-folder-name bash -c "[[ '$(trace_value "$S/good.trace" kWorkingFolder)' =~ ^C:.*\\\\Temp\\\\cv[0-9]{6}(_[0-9]+)?\\\\$ ]]"
check startup-good-working-folder-removed working_folder_removed "$S/good.trace"
check startup-product-name test "$(trace_value "$S/good.trace" kProductName)" = "Trace Product"
check startup-product-version test "$(trace_value "$S/good.trace" kProductVersion)" = "2.5.1"
check startup-product-code test "$(trace_value "$S/good.trace" kProductCode)" = "{5E1A-TEST}"
check startup-install-folder-gets-backslash test "$(trace_value "$S/good.trace" kInstallFolder)" = 'C:\Apps\Trace\'
check startup-program-files-read test "$(trace_value "$S/good.trace" kProgramFilesFolder)" = 'C:\Program Files'
check startup-source-folder-is-current-folder test "$(trace_value "$S/good.trace" kSourceFolder)" = "$(zpath "$S/good")\\"
check startup-not-disk-image test "$(trace_value "$S/good.trace" kDiskImage)" = 0
check startup-documents-without-backslash bash -c "[[ '$(trace_value "$S/good.trace" kDocumentsFolder)' != *\\\\ ]]"

# 4. Theme files named "^!..." move into theme\; an existing theme file is kept.
project "$S/theme"
printf 'shipped' >"$S/theme/^!welcome.lcd"
printf 'shipped' >"$S/theme/^!license.lcd"
mkdir -p "$S/theme/theme" && printf 'own' >"$S/theme/theme/license.lcd"
run_setup "$S/theme" "$S/theme.trace"
check startup-theme-file-moved same_file <(printf shipped) "$S/theme/theme/welcome.lcd"
check startup-theme-source-removed not_exists "$S/theme/^!welcome.lcd"
check startup-theme-existing-kept same_file <(printf own) "$S/theme/theme/license.lcd"
check startup-theme-blocked-file-stays test -e "$S/theme/^!license.lcd"

# 5. A DiskImage1 folder beside the setup sets disk-image mode.
project "$S/disk" && mkdir -p "$S/disk/DiskImage1"
run_setup "$S/disk" "$S/disk.trace"
check startup-disk-image-mode test "$(trace_value "$S/disk.trace" kDiskImage)" = 255
check startup-disk-image-exit-0 test "$SETUP_RC" -eq 0

# 6. Damaged containers: the cipher's message is shown, exit code 4, no crash.
damaged() {  # NAME MESSAGE: runs the project in $S/NAME and checks the box and exit code
  local name=$1 expected=$2
  start_setup "$S/$name" "$S/$name.trace"
  drive dialog 20000 >"$S/$name.box"
  wait_setup
  check "startup-$name-message" message_is "$S/$name.box" "$expected"
  check "startup-$name-exit-4" test "$SETUP_RC" -eq 4
  check "startup-$name-stops-at-step-6" steps_in_order "$S/$name.trace" 1 2 3 4 5 6
}
project "$S/corrupt" && printf 'XXXX' | dd of="$S/corrupt/setup.nsx" bs=1 seek=3 conv=notrunc 2>/dev/null
damaged corrupt "FileCrypt ERROR: File $(zpath "$S/corrupt")\\setup.nsx cannot be Correctly Decrypted!"
project "$S/short" && head -c 20 "$S/short/data.nsx" >"$S/short/x" && mv "$S/short/x" "$S/short/data.nsx"
damaged short "FileCrypt ERROR: File $(zpath "$S/short")\\data.nsx cannot be Correctly Decrypted!"
project "$S/ragged" && printf 'abc' >>"$S/ragged/setup.nsx"
damaged ragged "Illegal Block Size!"
