#!/bin/sh
# Fails when a DLL that an .exe or .dll in FOLDER (or its plugin folders) imports is neither in
# FOLDER nor one that Windows provides itself. Usage: check-imports.sh FOLDER
set -eu
folder=$(cd "$1" && pwd)
systemdirs="/usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows"
missing=0
for binary in $(find "$folder" -iname '*.exe' -o -iname '*.dll'); do
  for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r'); do
    [ -n "$(find "$folder" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
    case $(printf '%s' "$dll" | tr 'A-Z' 'a-z') in api-ms-win-*|ext-ms-win-*) continue ;; esac
    system=0
    for d in $systemdirs; do
      [ -d "$d" ] && [ -n "$(find "$d" -maxdepth 1 -iname "$dll" -print -quit)" ] && system=1
    done
    [ $system = 1 ] && continue
    echo "missing DLL: ${binary#$folder/} imports $dll, which is not in the package" >&2
    missing=1
  done
done
[ $missing = 0 ] || { echo "the package lacks DLLs that its binaries import" >&2; exit 1; }
