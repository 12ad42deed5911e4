#!/usr/bin/env bash
# mirepan-server over HTTPS, checked with curl: with a self-signed certificate for 127.0.0.1 it
# serves the version file with the installer's SHA-256 to a client that trusts the certificate, and
# refuses plain HTTP and clients that do not trust it. A half-given certificate is refused at start.
#   tests/server/https-test.sh SERVER RESULTS-FOLDER
set -uo pipefail
server=$1
results=$2
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 \
  -keyout key.pem -out cert.pem 2>/dev/null
mkdir files
echo "<VERSION>4.4.1.0</VERSION>" >files/Mirepan.ver
printf abc >files/Mirepansetup.exe

failures=0
check() {  # description, then the command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

"$server" --port 0 --files files --db db --cert cert.pem >half.log 2>&1
check "--cert without --key is refused" grep -q "go together" half.log

"$server" --port 0 --files files --db db --cert cert.pem --key key.pem >server.log 2>&1 &
pid=$!
port=
for _ in $(seq 50); do
  port=$(sed -n 's|.*serving https://127.0.0.1:\([0-9]*\)/.*|\1|p' server.log)
  [ -n "$port" ] && break
  sleep 0.1
done
check "serves HTTPS" test -n "$port"
url=https://127.0.0.1:${port:-1}/mirepan/Mirepan.ver
abc=ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad
check "the version file with the installer's hash" \
  test "$(curl -sS --cacert cert.pem "$url")" = "$(printf '<VERSION>4.4.1.0</VERSION>\n<SHA256>%s</SHA256>\r' $abc)"
check "an untrusted certificate is refused by the client" bash -c "! curl -sS -o /dev/null '$url' 2>/dev/null"
check "plain HTTP gets no reply" bash -c "! curl -sS -o /dev/null 'http://127.0.0.1:${port:-1}/mirepan/Mirepan.ver' 2>/dev/null"

mkdir -p "$results"
printf '<testsuites tests="5" failures="%d" errors="0" disabled="0" name="server_https">\n</testsuites>\n' \
  "$failures" >"$results/server_https.xml"
[ "$failures" -eq 0 ]
