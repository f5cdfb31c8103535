#!/usr/bin/env bash
# Passes when each given Windows program imports only DLLs that every Windows has:
# the program must run with nothing beside it. OBJDUMP names the toolchain's objdump
# for the programs' architecture.
set -u
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
allowed='^(kernel32|user32|gdi32|comctl32|shell32|ole32|oleaut32|advapi32|msvcrt|comdlg32|shlwapi|urlmon)\.dll$'
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | awk '/DLL Name/ {print tolower($3)}')
  [ -n "$dlls" ] || { echo "$program: no imports read"; status=1; continue; }
  for dll in $dlls; do
    if ! grep -Eq "$allowed" <<<"$dll"; then
      echo "$program needs $dll"
      status=1
    fi
  done
  echo "$program: $(echo $dlls)"
done
exit $status
