#!/usr/bin/env bash
# Checks every signed variant with osslsigncode against the test CA: who signed it,
# and whether its signature holds.
#   verify-packages.sh PACKAGES_DIR CA_PEM
set -uo pipefail
dir=$1 ca=$2
failed=0

check() {  # file expected-outcome [expected-subject]
  local file=$1 want=$2 subject=${3:-}
  local out rc
  out=$(osslsigncode verify -CAfile "$ca" -in "$dir/$file" 2>&1); rc=$?
  local got=other
  if [ $rc -eq 0 ] && grep -q "Signature verification: ok" <<<"$out"; then
    got=ok
  elif grep -qi "No signature found" <<<"$out"; then
    got=unsigned
  elif grep -qi "digest mismatch\|MISMATCH" <<<"$out"; then
    got=bad-digest
  fi
  if [ "$got" != "$want" ]; then
    echo "FAIL $file: expected $want, got $got"; echo "$out" | sed 's/^/    /'; failed=1; return
  fi
  if [ -n "$subject" ] && ! grep -q "Subject: /CN=$subject\$" <<<"$out"; then
    echo "FAIL $file: signer is not exactly \"$subject\""; echo "$out" | sed 's/^/    /'
    failed=1; return
  fi
  echo "ok   $file: $want${subject:+ by \"$subject\"}"
}

check setup-valid.exe ok "Morvane Corporation"
check setup-failing.exe ok "Morvane Corporation"
check setup-unsigned.exe unsigned
check setup-tampered.exe bad-digest
check setup-other.exe ok "Other Corporation"
check setup-lowercase.exe ok "morvane corporation"
check setup-ltd.exe ok "Morvane Corporation Ltd"
check setup-notprogram.exe ok "Morvane Corporation"
# The one that must not start is a DLL image (IMAGE_FILE_DLL in its file header).
characteristics=$(od -An -tu2 -j $(( $(od -An -tu4 -j 60 -N4 "$dir/setup-notprogram.exe") + 22 )) -N2 \
  "$dir/setup-notprogram.exe" | tr -d ' ')
if (( (characteristics & 0x2000) == 0 )); then
  echo "FAIL setup-notprogram.exe: not a DLL image (characteristics $characteristics)"; failed=1
else
  echo "ok   setup-notprogram.exe: a DLL image"
fi
exit $failed
