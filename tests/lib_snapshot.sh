# Sourced by end-to-end scripts: the machine as a user would find it, taken
# before and after a run and compared. A snapshot holds every path on drive
# C: (the temporary folders and the product's uninstall folders aside), the
# contents of the files below the folders it is given, and the registry keys
# an installation touches (Wine's own keys aside).

SNAPSHOT_KEYS=('HKEY_CURRENT_USER\Software' 'HKEY_CURRENT_USER\Environment' 'HKEY_LOCAL_MACHINE\Software\Classes'
  'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services'
  'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\Environment'
  'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall')

# export_key KEY FILE: regedit's export of KEY, tried again when it wrote
# nothing (an export has been seen to fail right after another program ended).
export_key() {
  local try
  for try in 1 2 3; do
    rm -f "$2"
    "$WINE" regedit /e "$(zpath "$2")" "$1" >/dev/null 2>&1 && [ -s "$2" ] && return 0
    sleep 0.5
  done
  return 1
}

# machine_snapshot FILE [FOLDER...]: FOLDERs are Unix paths inside the prefix.
machine_snapshot() {
  local out=$1 folder key; shift
  { (cd "$WINEPREFIX/drive_c" && find . \( -path ./windows/temp -o -path './users/*/Temp' \
        -o -path ./windows/Installer \) -prune -o -print | LC_ALL=C sort)
    for folder in "$@"; do
      [ -d "$folder" ] && (cd "$folder" && find . -type f -exec md5sum {} + | LC_ALL=C sort -k 2 | sed "s|^|$folder: |")
    done
    for key in "${SNAPSHOT_KEYS[@]}"; do
      export_key "$key" "$out.export"
      iconv -f UTF-16LE -t UTF-8 "$out.export" 2>/dev/null | tr -d '\r' |
        awk '/^\[/ { skip = ($0 ~ /^\[HKEY_CURRENT_USER\\Software\\Wine/) } !skip'
    done
  } >"$out"
  rm -f "$out.export"
}

# same_machine BEFORE AFTER [ALLOWED]: the snapshots differ only in lines
# matching the extended regex ALLOWED; the differences go to the test log.
same_machine() {
  local differences
  differences=$(diff "$1" "$2" | grep '^[<>]')
  [ -n "${3:-}" ] && differences=$(grep -vE -- "$3" <<<"$differences")
  [ -z "$differences" ] || { head -n 30 <<<"$differences"; return 1; }
}
