#!/usr/bin/env bash
# Colour-depth requirements on a 16-bit screen.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

APP='[APPINFO]\r\na1=Color Product\r\n'
project() { make_project "$S/$1" "$APP[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n4=$2\r\n"; }

for depth in '24bit colors' '32bit colors'; do
  name=needs-${depth%%bit*}
  project "$name" "$depth"
  run_expecting_message "$name" "$S/$name"
  check "colors-$name-refused" message_is "$S/$name.box" \
    'The color settings of your system are not adequate for running Color Product.'
  check "colors-$name-exit-2" test "$SETUP_RC" -eq 2
done
for depth in '65.636 colors' '256 colors' '16bit colors'; do
  name=accepts-$(echo "$depth" | tr -cd '0-9')
  project "$name" "$depth"
  start_setup "$S/$name" "$S/$name.trace"
  no_dialog_until_done "$S/$name.trace" >"$S/$name.seen"; absent=$?
  finish_when_ready "$S/$name" "$S/$name.trace"
  check "colors-$name-no-message" earlier "$absent" "$S/$name.seen"
  check "colors-$name-driver-done" steps_in_order "$S/$name.trace" $(seq 1 24) 26
done
