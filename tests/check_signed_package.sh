#!/usr/bin/env bash
# scripts/package with a throwaway self-signed code-signing certificate: every program it
# ships verifies against that certificate, the installer still installs and uninstalls
# under Wine and writes a signed uninstaller, a wrong password stops it with a clear
# message and no package, and the password is in no osslsigncode command line (where any
# local user could read it). Prints one line per check; exits non-zero when any fails.
set -u -o pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
work=$(mktemp -d)
on_exit 'rm -rf "$work"'

signed() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >/dev/null 2>&1; }

# A stand-in osslsigncode, first on PATH, writes down each command line it is given.
mkdir "$work/bin"
cat >"$work/bin/osslsigncode" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/command-lines"
exec $(command -v osslsigncode) "\$@"
EOF
chmod +x "$work/bin/osslsigncode"
export PATH=$work/bin:$PATH
# True when the text $1 is in none of the (at least one) command lines written down.
in_no_command_line() { [ -s "$work/command-lines" ] && ! grep -qF -- "$1" "$work/command-lines"; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=kvt test signing" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1
openssl pkcs12 -export -in "$work/cert.pem" -inkey "$work/key.pem" -out "$work/test.pfx" -passout pass:kvt-test
export KVT_SIGN_PFX=$work/test.pfx

message=$(KVT_SIGN_PASSWORD=wrong "$root/scripts/package" "$work/refused" 2>&1)
check "a wrong password fails" test $? != 0
check "it says why: $message" grep -q "wrong password" <<<"$message"
check "and leaves no package" test ! -e "$work/refused"

out=$work/package
check "scripts/package signs with the right password" env KVT_SIGN_PASSWORD=kvt-test "$root/scripts/package" "$out"
check "the password was in no osslsigncode command line" in_no_command_line kvt-test
check "SHA256SUMS lists the signed files" bash -c "cd '$out' && sha256sum --quiet -c SHA256SUMS"
mkdir -p "$work/x"
(cd "$work/x" && unzip -q "$out"/kvt-*-windows.zip)
for arch in win64 win32; do
  setup=$(echo "$out"/kvt-*-setup-$arch.exe)
  check "$(basename "$setup") is signed" signed "$setup"
  7zz e -so "$setup" kvt.scr >"$work/x/kvt-$arch.scr" 2>/dev/null
  check "the kvt.scr in it is signed" signed "$work/x/kvt-$arch.scr"
  check "$arch/kvt.scr in the zip is signed" signed "$work/x/$arch/kvt.scr"
done

begin_wine_session -c "$work/prefix" || exit 1
check "the signed 64-bit installer installs silently" "$wine" "$(echo "$out"/kvt-*-setup-win64.exe)" /S
dir=$("$wine" winepath -u "$("$wine" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Programs\\TaveloRssScreensaver")
check "the uninstaller it wrote is signed" signed "$dir/uninst.exe"
check "it uninstalls silently" "$wine" "$dir/uninst.exe" /S _?="$("$wine" winepath -w "$dir" 2>/dev/null)"
check "kvt.scr is removed" test ! -e "$dir/kvt.scr"
[ $failures = 0 ]
