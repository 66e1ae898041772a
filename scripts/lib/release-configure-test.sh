#!/usr/bin/env bash
# A release configure refuses the test key: as the accepted key, renamed (another file, other
# letter case), beside a real key in a rotation list, and as the signing key; it also refuses a
# plain-http update server. A release with its own key configures.
#   release-configure-test.sh SOURCE_ROOT
set -uo pipefail
root="$1"
work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
sign="$root/scripts/sign-installer"
test_pem="$root/updater/tests/keys/test-release-key.pem"
cp "$test_pem" "$work/company-2027.pem"
openssl ecparam -name prime256v1 -genkey -noout -out "$work/real.pem" 2>/dev/null
real="$("$sign" --public-key "$work/real.pem")"
test_key="$("$sign" --public-key "$test_pem")"
renamed="$("$sign" --public-key "$work/company-2027.pem" | tr a-f A-F)"
failures=0

# configure NAME EXPECT(ok|refused) PATTERN cmake-args...
configure() {
  local name="$1" expect="$2" pattern="$3"; shift 3
  local log="$work/$name.log"
  cmake -S "$root" -B "$work/$name" -DPRAVIK_RELEASE=ON -DPRAVIK_UPDATE_SCHEME=https "$@" >"$log" 2>&1
  local status=$?
  if [ "$expect" = ok ] && [ $status -ne 0 ]; then
    echo "FAIL $name: a sound release did not configure"; tail -5 "$log"; failures=$((failures + 1))
  elif [ "$expect" = refused ] && { [ $status -eq 0 ] || ! grep -q "$pattern" "$log"; }; then
    echo "FAIL $name: not refused with '$pattern'"; tail -5 "$log"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

configure default-keys refused "holds the test key"
configure renamed-test-key refused "holds the test key" -DPRAVIK_RELEASE_KEYS="$renamed" -DPRAVIK_SIGNING_KEY="$work/real.pem"
configure rotation-list refused "holds the test key" -DPRAVIK_RELEASE_KEYS="$real;$test_key" -DPRAVIK_SIGNING_KEY="$work/real.pem"
configure test-signing-key refused "SIGNING_KEY is the test key" -DPRAVIK_RELEASE_KEYS="$real" -DPRAVIK_SIGNING_KEY="$work/company-2027.pem"
configure plain-http refused "must be https" -DPRAVIK_RELEASE_KEYS="$real" -DPRAVIK_SIGNING_KEY="$work/real.pem" -DPRAVIK_UPDATE_SCHEME=http
configure own-key ok "" -DPRAVIK_RELEASE_KEYS="$real" -DPRAVIK_SIGNING_KEY="$work/real.pem"
exit $failures
