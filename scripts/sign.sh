#!/usr/bin/env bash
# Signs Windows executables and installers in place with the publisher's certificate:
# Authenticode with SHA-256 digests, signed at SOURCE_DATE_EPOCH (the commit's time, so a
# signed build is as reproducible as an unsigned one). SIGN_PFX is the certificate with its
# key (PKCS#12); SIGN_PASS_FILE holds its password, which only osslsigncode and openssl
# read from the file, so it never stands on a command line.
# Usage: sign.sh --check      checks both files and the password, signs nothing
#        sign.sh FILE...      a file that fails to sign is left as it was
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fail() {
  echo "sign: $*" >&2
  exit 1
}

[ -n "${SIGN_PFX:-}" ] || fail "SIGN_PFX (the certificate, a .pfx file) is not set"
[ -n "${SIGN_PASS_FILE:-}" ] || fail "SIGN_PASS_FILE (the file holding the password of $SIGN_PFX) is not set"
for file in "$SIGN_PFX" "$SIGN_PASS_FILE"; do
  [ -f "$file" ] && [ -r "$file" ] || fail "cannot read $file"
done
command -v osslsigncode >/dev/null || fail "osslsigncode is missing (scripts/install-deps.sh dist)"

if [ "${1:-}" = --check ]; then
  # Certificates from older tools use ciphers OpenSSL 3 keeps in its legacy provider.
  for legacy in "" -legacy; do
    openssl pkcs12 ${legacy:+"$legacy"} -in "$SIGN_PFX" -passin "file:$SIGN_PASS_FILE" -noout 2>/dev/null &&
      exit 0
  done
  fail "cannot open $SIGN_PFX with the password in $SIGN_PASS_FILE: wrong password, or not a PKCS#12 certificate"
fi

home_page=$(sed -n 's/^#define KESTROW_HOME_PAGE_URL "\(.*\)"$/\1/p' "$root/controls/home_page.h")
: "${SOURCE_DATE_EPOCH:?sign: SOURCE_DATE_EPOCH (the signing time) is not set}"
for file in "$@"; do
  if ! log=$(osslsigncode sign -pkcs12 "$SIGN_PFX" -readpass "$SIGN_PASS_FILE" -h sha256 \
    -time "$SOURCE_DATE_EPOCH" -n KestrowDemo -i "$home_page" -in "$file" -out "$file.signed" 2>&1); then
    rm -f "$file.signed"
    fail "signing $file with $SIGN_PFX failed: $log"
  fi
  mv "$file.signed" "$file"
done
