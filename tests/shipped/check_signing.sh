#!/usr/bin/env bash
# A packed program signed as a provider signs it (Authenticode with osslsigncode, under a
# throw-away certificate made here) still reads its kit, and the signature covers the kit:
# with one byte of the kit changed it no longer verifies.
# Usage: check_signing.sh <Windows build folder> <dialnest-kit>
set -euo pipefail
build=$1
kit_tool=$2
sample=$(cd "$(dirname "$0")/../../examples/kit" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Dialnest test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" \
  >/dev/null 2>&1 || fail "no test certificate"
packed=$("$kit_tool" pack --lang=en "$sample" --dialnest "$build/Dialnest.exe" -o "$work/packed.exe")
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -in "$work/packed.exe" \
  -out "$work/signed.exe" >/dev/null
osslsigncode verify -CAfile "$work/cert.pem" "$work/signed.exe" >/dev/null 2>&1 ||
  fail "the signed program does not verify"
[ "$("$kit_tool" check --lang=en --verbose "$work/signed.exe")" = \
  "$("$kit_tool" check --lang=en --verbose "$sample" | sed "s|$sample|$work/signed.exe|")" ] ||
  fail "the signed program does not read its kit as the kit folder reads"

# One byte of the kit changed, well inside it: its first file's bytes.
image=$(sed -n 's/.*(the program \([0-9]*\), the kit .*/\1/p' <<<"$packed")
at=$((image + 200))
cp "$work/signed.exe" "$work/changed.exe"
byte=$(od -An -tu1 -j "$at" -N1 "$work/changed.exe" | tr -d ' ')
printf "$(printf '\\%03o' $((byte ^ 1)))" |
  dd of="$work/changed.exe" bs=1 seek="$at" conv=notrunc status=none
! osslsigncode verify -CAfile "$work/cert.pem" "$work/changed.exe" >/dev/null 2>&1 ||
  fail "a changed kit still verifies"
! "$kit_tool" check --lang=en "$work/changed.exe" >"$work/report" &&
  grep -q 'checksum does not match.*\[carried-kit\]' "$work/report" ||
  fail "a changed kit is not read as damaged"
echo "signing: the signed program reads its kit; a changed byte of it breaks the signature"
