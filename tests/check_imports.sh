#!/usr/bin/env bash
# A statically linked program imports only DLLs that every Windows has.
# usage: check_imports.sh <objdump> <program.exe>...
set -u
objdump="$1"; shift
allowed='^(kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msimg32|imm32|wininet|urlmon|winspool\.drv|version|msvcrt|ws2_32|uxtheme|ntdll|crypt32|wintrust|api-ms-win-.*)(\.dll)?$'
status=0
for exe in "$@"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || { echo "$exe: no imports found"; status=1; }
  for dll in $dlls; do
    if ! [[ "$dll" =~ $allowed ]]; then
      echo "$exe imports $dll, which is not a system DLL"
      status=1
    fi
  done
done
[ $status -eq 0 ] && echo "only system DLLs imported"
exit $status
