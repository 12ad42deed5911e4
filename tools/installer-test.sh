#!/usr/bin/env bash
# The installer's tests: the signatures of the program and the installer (osslsigncode verify),
# then under Wine the silent install, the start, the update from a local mirepan-server to a newer
# signed installer and the uninstall (tests/installer). Run on a display, after ./build.sh installer.
#   tools/installer-test.sh [WINDOWS TREE] [NATIVE TREE]      (default build/win and build/native)
# The results go to WINDOWS TREE/results as test reports.
set -uo pipefail
cd "$(dirname "$0")/.."
win=$(realpath "${1:-build/win}")
native=$(realpath "${2:-build/native}")
results=$win/results
work=$win/installer-test
mkdir -p "$results"
rm -rf "$work"
mkdir -p "$work/files"
source tools/wine-env.sh
mirepan_wine_prefix

# The newer version the server offers: the build's with its third number one higher.
IFS=. read -r major minor build _ < <(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")
newer=$major.$minor.$((build + 1)).0
tools/make-installer.sh "$win" "$newer" "$work/files/Mirepansetup.exe" >/dev/null || exit 1
echo "<VERSION>$newer</VERSION>" >"$work/files/Mirepan.ver"

# A throw-away certificate is its own authority; a real one chains to the system's.
ca=/etc/ssl/certs/ca-certificates.crt
[ -z "${MIREPAN_SIGN_PFX:-}" ] && ca=$win/signing/test-signing.pem
failures=0
for file in "$win/installer-stage/Mirepan.exe" "$win/Mirepansetup.exe" "$work/files/Mirepansetup.exe"; do
  if osslsigncode verify -CAfile "$ca" -in "$file" >"$work/verify.log" 2>&1; then
    echo "signature verified: $file"
  else
    echo "signature NOT verified: $file"
    cat "$work/verify.log"
    failures=$((failures + 1))
  fi
done
printf '<testsuites tests="3" failures="%d" errors="0" disabled="0" name="installer_signatures">\n</testsuites>\n' \
  "$failures" >"$results/installer_signatures.xml"

"$native/server/mirepan-server" --port 0 --files "$work/files" --db "$work/recipes.db" >"$work/server.log" 2>&1 &
server=$!
port=
for _ in $(seq 100); do
  port=$(sed -n 's|.*serving http://127.0.0.1:\([0-9]*\)/.*|\1|p' "$work/server.log")
  [ -n "$port" ] && break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "mirepan-server did not start:"
  cat "$work/server.log"
  kill "$server" 2>/dev/null
  exit 1
fi
(cd "$win/tests/installer" && MIREPAN_UPDATE_SERVER=127.0.0.1:$port MIREPAN_UPDATE_VERSION=$newer \
  wine installer_tests.exe --gtest_output="xml:Z:$results/installer_tests.xml")
status=$?
kill "$server"
wait "$server" 2>/dev/null
[ "$status" -eq 0 ] && [ "$failures" -eq 0 ]
