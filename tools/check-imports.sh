#!/usr/bin/env bash
# Fails when a program imports a DLL that Windows does not ship (a MinGW
# runtime, libstdc++, libpng...): the .exe must run on its own.
set -euo pipefail
exe=${1:?usage: check-imports.sh PROGRAM.exe}
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|shell32|shlwapi|advapi32|msvcrt|uxtheme|version|imm32|winmm|ws2_32|rpcrt4|api-ms-win-.*)\.dll$'
dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}')
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
bad=0
for d in $dlls; do
  if [[ ! $d =~ $allowed ]]; then echo "not a system DLL: $d"; bad=1; fi
done
file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || { echo "not a 32-bit GUI program: $(file "$exe")"; bad=1; }
echo "imports: $dlls"
exit $bad
