#!/usr/bin/env bash
# Signs a program with one leaf of the test PKI, or changes it after signing.
#   sign-package.sh PKI_DIR SIGNER IN OUT [tamper]
# SIGNER is a leaf id of make-test-pki.sh, or "none" for an unsigned copy. With
# "tamper", one byte of the signed file is changed afterwards (in the DOS stub's
# message, which the Authenticode digest covers but nothing executes), so that the
# signature is intact but its digest no longer matches.
set -euo pipefail
pki=$1 signer=$2 in=$3 out=$4 mode=${5:-}
rm -f "$out"
if [ "$signer" = none ]; then
  cp "$in" "$out"
else
  osslsigncode sign -certs "$pki/$signer-chain.pem" -key "$pki/$signer.key" -h sha256 \
    -in "$in" -out "$out" >/dev/null
fi
if [ "$mode" = tamper ]; then
  offset=$(grep -obUa "This program cannot be run in DOS mode" "$out" | head -1 | cut -d: -f1)
  [ -n "$offset" ] || { echo "sign-package: no DOS stub in $out" >&2; exit 1; }
  printf 't' | dd of="$out" bs=1 seek="$offset" conv=notrunc status=none
fi
