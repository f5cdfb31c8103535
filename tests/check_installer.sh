#!/usr/bin/env bash
# Passes when an installer is a Windows program of the given kind (pei-i386 for 32-bit,
# pei-x86-64 for 64-bit Windows) and holds exactly the given kvt.scr.
#   check_installer.sh <kvt-setup-*.exe> <kvt.scr> <pei-i386|pei-x86-64>
set -u
setup=$1 saver=$2 format=$3
status=0
fail() { echo "$setup: $*"; status=1; }

[ -s "$setup" ] || { fail "missing or empty"; exit 1; }
got=$(LC_ALL=C x86_64-w64-mingw32-objdump -f "$setup" 2>/dev/null | sed -n 's/.*file format //p')
[ "$got" = "$format" ] || fail "is '${got:-not a Windows program}', not $format"

listing=$(7zz l -ba "$setup" 2>&1) || fail "cannot be listed: $listing"
for name in kvt.scr uninst.exe; do
  grep -Eq " $name\$" <<<"$listing" || fail "does not list $name"
done
7zz e -so "$setup" kvt.scr 2>/dev/null | cmp -s - "$saver" || fail "does not hold $saver"

[ $status = 0 ] && echo "$setup: $format, holds $(basename "$saver") ($(stat -c %s "$saver") bytes) and uninst.exe"
exit $status
