#!/usr/bin/env bash
# An update over https:// against a loopback TLS server whose test root the test installs into the
# Wine prefix. Runs inside the test session (WINEPREFIX and DISPLAY set by the caller).
#   https-update.sh TESTS_DIR (the folder of https_update_test.exe, fake_installer.exe and its .sig)
set -euo pipefail
tests="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"

servers=()
# Runs on every way out, errors and signals included; a server that already ended must not stop
# it before the work folder is gone (set -e would, inside a trap too).
cleanup() {
  set +e
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# serve NAME [tls args]: starts a server on a free port over $work/www; its port lands in $work/NAME.port.
serve() {
  local name="$1"; shift
  setsid python3 "$here/tls_server.py" --root "$work/www" "$@" </dev/null >"$work/$name.port" 2>"$work/$name.log" &
  servers+=($!)
  for _ in $(seq 100); do [ -s "$work/$name.port" ] && break; sleep 0.1; done
  [ -s "$work/$name.port" ] || { cat "$work/$name.log"; exit 1; }
}

mkdir -p "$work/www/setup" "$work/ca"
cp "$tests/fake_installer.exe" "$work/www/setup/PravikSetup.exe"
cp "$tests/fake_installer.exe.sig" "$work/www/setup/PravikSetup.exe.sig"
# The revocation list is published over plain HTTP, as certificate authorities do.
serve crl
crl_url="http://127.0.0.1:$(cat "$work/crl.port")/root.crl"

# A test root, its (empty) revocation list, and a certificate for 127.0.0.1 signed by it.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj "/CN=Pravik Test Root" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$work/root.key" -out "$work/root.pem" 2>/dev/null
touch "$work/ca/index.txt"; echo 01 >"$work/ca/crlnumber"
printf '[ca]\ndefault_ca=test\n[test]\ndatabase=%s\ncrlnumber=%s\ndefault_md=sha256\ndefault_crl_days=2\n' \
  "$work/ca/index.txt" "$work/ca/crlnumber" >"$work/ca.cnf"
openssl ca -config "$work/ca.cnf" -gencrl -keyfile "$work/root.key" -cert "$work/root.pem" -out "$work/root.crl.pem" 2>/dev/null
openssl crl -in "$work/root.crl.pem" -outform DER -out "$work/www/root.crl"
openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj "/CN=127.0.0.1" \
  -keyout "$work/server.key" -out "$work/server.csr" 2>/dev/null
printf 'subjectAltName=IP:127.0.0.1,DNS:127.0.0.1\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\ncrlDistributionPoints=URI:%s\n' \
  "$crl_url" >"$work/ext.cnf"
openssl x509 -req -in "$work/server.csr" -CA "$work/root.pem" -CAkey "$work/root.key" -CAcreateserial -days 2 \
  -extfile "$work/ext.cnf" -out "$work/server.pem" 2>/dev/null
openssl x509 -in "$work/root.pem" -outform DER -out "$work/root.der"

serve tls --cert "$work/server.pem" --key "$work/server.key"
port="$(cat "$work/tls.port")"

export PRAVIK_TLS_ROOT="$(/usr/lib/wine/wine64 winepath -w "$work/root.der" 2>/dev/null | tr -d '\r')"
export PRAVIK_TLS_URL="https://127.0.0.1:$port/setup/PravikSetup.exe"
export WINEDEBUG="${PRAVIK_HTTPS_WINEDEBUG:--all}"
# One test: it trusts the root, downloads, and removes the root again whatever happens.
/usr/lib/wine/wine64 "$tests/https_update_test.exe"
