#!/usr/bin/env bash
# Names in a double-byte code page: a project written in code page 932,
# packed by cvpack and installed unattended by setup.exe under a Japanese
# locale (ANSI code page 932), keeps names whose second bytes are a backslash
# ("ソ" = 83 5C) or a bar ("ポ" = 83 7C) whole.
source "$CV_ROOT/tests/lib_e2e.sh"
S=$(scratch_dir)

# Wine takes its ANSI code page from the locale, and needs the locale itself
# to name files on Linux; it is made once under the build folder.
LOCALES=$CV_BUILD/locale
[ -d "$LOCALES/ja_JP.UTF-8" ] ||
  { mkdir -p "$LOCALES" && localedef -i ja_JP -f UTF-8 "$LOCALES/ja_JP.UTF-8" >/dev/null 2>&1; }
check names-japanese-locale-made test -d "$LOCALES/ja_JP.UTF-8"

SO=$'\x83\x5c' PO=$'\x83\x7c'
DEST=$WINEPREFIX/drive_c/CorvaneNames/App
P=$S/proj; mkdir -p "$P/bin" "$P/theme"
cp "$CV_ROOT"/examples/sample/theme/* "$P/theme/"
printf 'so' >"$P/bin/${SO}ft.txt"
printf 'po' >"$P/bin/${PO}.txt"
{
  printf 'bin\\%s\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' "${SO}ft.txt"
  printf 'bin/%s\r\nDestination Computer\\<InstallDir>\\*0*0*2|\r\n' "${PO}.txt"
} >"$P/data.inf"
{
  printf '[APPINFO]\r\na1=Names\r\na2=1.0\r\na3={C0FFEE00-NAME-TEST}\r\na4=C:\\CorvaneNames\\App\r\n'
  printf '[DIALOGLIST]\r\nTOTAL1=2\r\nW0=progress.lcd\r\nW1=complete.lcd\r\n[BUILDING]\r\n2=Yes\r\n'
  printf '[SYSTEM]\r\nos0=Yes\r\nos1=Yes\r\nos2=Yes\r\nos3=Yes\r\nos4=Yes\r\nos5=Yes\r\nos6=Yes\r\n'
} >"$P/setup.inf"

check names-bad-code-page-refused bash -c \
  "'$CVPACK' build --code-page x '$P' '$S/never' 2>/dev/null; [ \$? -eq 2 ] && [ ! -e '$S/never' ]"
"$CVPACK" build --engine "$SETUP_EXE" --code-page 932 "$P" "$S/pkg" >/dev/null
check names-packed-in-932 test -f "$S/pkg/file1.cab"

# (bash itself cannot load the locale: its complaint is dropped.)
{ LOCPATH=$LOCALES LC_ALL=ja_JP.UTF-8 start_packed "$S/pkg" "$S/run.trace" 90; } 2>/dev/null
wait_setup
check names-install-exit-0 test "$SETUP_RC" -eq 0
# Linux shows the names Wine made of them: code page 932 read as Unicode.
check names-second-byte-backslash-kept same_file "$P/bin/${SO}ft.txt" "$DEST/ソft.txt"
check names-second-byte-bar-kept same_file "$P/bin/${PO}.txt" "$DEST/ポ.txt"
check names-nothing-cut bash -c "[ \"\$(find '$DEST' -type f | wc -l)\" -eq 2 ]"

# Under the default locale (code page 1252) "ポ" reads "ƒ|", no file name: a
# working file of that name cannot be extracted, so the setup stops there and
# installs nothing rather than go on without it.
Q=$S/other; mkdir -p "$Q/working"
cp -r "$P/theme" "$P/setup.inf" "$Q/"
printf 'plain' >"$Q/plain.txt"
printf 'plain.txt\r\nDestination Computer\\<InstallDir>\\*0*0*1|\r\n' >"$Q/data.inf"
printf 'po' >"$Q/working/${PO}.txt"
"$CVPACK" build --engine "$SETUP_EXE" --code-page 932 "$Q" "$S/otherpkg" >/dev/null
rm -rf "$DEST"
start_packed "$S/otherpkg" "$S/other.trace" 90
wait_setup
check names-unusable-name-installs-nothing not_exists "$DEST/plain.txt"
