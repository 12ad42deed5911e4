#!/usr/bin/env bash
# Builds the signed installer from a Windows build tree: signs a copy of Mirepan.exe, packs it with
# the starter nutrient data and its licence into TREE/Mirepansetup.exe (NSIS) and signs that.
#   tools/make-installer.sh TREE VERSION [OUTPUT]      (OUTPUT defaults to TREE/Mirepansetup.exe)
# The signing certificate is a PKCS#12 file named by MIREPAN_SIGN_PFX, its password in
# MIREPAN_SIGN_PASSWORD (and a time-stamping server in MIREPAN_SIGN_TIMESTAMP, optional). Without
# one a throw-away test certificate is made in TREE/signing/, so the signing step always runs.
set -euo pipefail
tree=$(cd "$1" && pwd)
version=$2
output=${3:-$tree/Mirepansetup.exe}
root=$(cd "$(dirname "$0")/.." && pwd)
stage=$tree/installer-stage
signing=$tree/signing
mkdir -p "$stage" "$signing"

pfx=${MIREPAN_SIGN_PFX:-}
password=${MIREPAN_SIGN_PASSWORD:-}
if [ -z "$pfx" ]; then
  pfx=$signing/test-signing.pfx
  password=test
  if [ ! -f "$pfx" ]; then
    openssl req -x509 -newkey rsa:2048 -sha256 -days 3650 -nodes -subj "/CN=Mirepan test signing/O=Tallowmere" \
      -addext "extendedKeyUsage=codeSigning" -keyout "$signing/test-signing.key" \
      -out "$signing/test-signing.pem" 2>/dev/null
    openssl pkcs12 -export -inkey "$signing/test-signing.key" -in "$signing/test-signing.pem" \
      -passout "pass:$password" -out "$pfx"
  fi
fi

# Signs $1 into $2.
sign() {
  local timestamp=()
  [ -n "${MIREPAN_SIGN_TIMESTAMP:-}" ] && timestamp=(-ts "$MIREPAN_SIGN_TIMESTAMP")
  rm -f "$2"
  osslsigncode sign -pkcs12 "$pfx" -pass "$password" -h sha256 -n Mirepan -i https://localhost/mirepan/ \
    "${timestamp[@]}" -in "$1" -out "$2" >/dev/null
}

data=$(cd "$tree/app" && ls NutrientData*.csv | head -n1)
rm -f "$stage"/NutrientData*.csv
cp "$tree/app/$data" "$root/data/IFCT2017-LICENSE.txt" "$stage/"
sign "$tree/app/Mirepan.exe" "$stage/Mirepan.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DDATAFILE="$data" -DOUTFILE="$stage/Mirepansetup.exe" \
  "$root/installer/Mirepan.nsi"
sign "$stage/Mirepansetup.exe" "$output"
echo "installer: $output ($version, $(stat -c %s "$output") bytes)"
