#!/usr/bin/env bash
# Project-file decryption: cvpack decrypt against openssl on the same data, and
# the decryptor's peak memory, which must not grow with the file.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
work=$BENCH_WORK/decrypt; mkdir -p "$work"
cvpack=$CV_BUILD/native/tools/cvpack/cvpack
key=$(printf '.p..ul.%%.58190.p' | od -An -tx1 | tr -d ' \n')

for size in 1 64; do
  # Text, as project files are: decryption drops the zero bytes at the end,
  # and whole MiB need no padding, so both outputs are the plain text.
  plain=$work/text-$size; box=$work/textbox-$size; body=$work/textbody-$size
  # (base64 ends on the broken pipe once head has its bytes.)
  [ -f "$box" ] || { (set +o pipefail; base64 -w 76 /dev/urandom | head -c $((size << 20))) >"$plain"
                     "$cvpack" encrypt "$plain" "$box"; }
  tail -c +33 "$box" >"$body"
  read -r ours ours_kib < <(measure 5 "$cvpack" decrypt "$box" "$work/out")
  read -r ref ref_kib < <(measure 5 openssl enc -d -aes-128-ecb -nopad -K "$key" -in "$body" -out "$work/ref")
  cmp -s "$work/out" "$work/ref" || { echo "decrypt-${size}mib: outputs differ" >&2; exit 1; }
  ratio_row "decrypt-${size}mib" "$ours" openssl-aes-128-ecb "$ref"
  ratio_row "decrypt-${size}mib-peak-kib" "$ours_kib" openssl-peak-kib "$ref_kib"
  eval "peak_$size=$ours_kib"
done
# Peak memory for 64 MiB against 1 MiB: about 1.0 when memory does not grow with the file.
ratio_row decrypt-peak-64mib-vs-1mib "$peak_64" decrypt-peak-1mib "$peak_1"
