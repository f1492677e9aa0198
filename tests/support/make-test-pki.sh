#!/usr/bin/env bash
# Makes a throwaway code-signing PKI under DIR: a CA and one leaf per signer name, each
# leaf with the code-signing extended key usage. Nothing here is ever committed; the
# keys live and die with the build folder.
#   make-test-pki.sh DIR
# Gives DIR/ca.pem, and per signer id: DIR/<id>.key (leaf key) and DIR/<id>-chain.pem
# (leaf certificate followed by the CA's).
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
umask 077

openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 \
  -subj "/CN=Pellory Test Root CA" -keyout ca.key -out ca.pem \
  -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null

cat > leaf.ext <<'EXT'
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=codeSigning
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
EXT

serial=1
leaf() {  # id "subject common name"
  local id=$1 cn=$2
  openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=$cn" \
    -keyout "$id.key" -out "$id.csr" 2>/dev/null
  openssl x509 -req -in "$id.csr" -CA ca.pem -CAkey ca.key -set_serial $((serial++)) \
    -days 3650 -sha256 -extfile leaf.ext -out "$id.pem" 2>/dev/null
  cat "$id.pem" ca.pem > "$id-chain.pem"
  rm -f "$id.csr"
}
leaf morvane "Morvane Corporation"
leaf other "Other Corporation"
leaf lowercase "morvane corporation"
leaf ltd "Morvane Corporation Ltd"
