#!/bin/sh
# Packages the Windows build as OUTDIR/Tarvik-VERSION-win64.zip: one folder with tarvik.exe,
# mppdump.exe, the plugins Qt loads, every DLL these import (read from their import tables, and
# from those of the DLLs found, until nothing new turns up), the licences and a README.txt.
# Fails, leaving no zip, when a DLL that something in the folder imports is neither in the
# folder nor part of Windows itself.
# Usage: package-zip.sh BUILD QTPREFIX VERSION SOURCEDIR
set -eu
build=$(cd "$1" && pwd)
qt=$(cd "$2" && pwd)
version=$3
source=$(cd "$4" && pwd)
objdump=x86_64-w64-mingw32-objdump
name=Tarvik-$version-win64
stage="$build/package/$name"
zipfile="$build/$name.zip"
gccdir=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix | tail -n 1)
# Where the DLLs that are not Windows' own come from.
searchdirs="$qt/bin $gccdir /usr/x86_64-w64-mingw32/lib"
# The DLLs Windows itself provides: Wine carries a copy of each.
systemdirs="/usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows"

rm -rf "$build/package" "$zipfile"
mkdir -p "$stage"
cp "$build/app/tarvik.exe" "$build/tools/mppdump/mppdump.exe" "$stage/"
for plugin in platforms/qwindows.dll sqldrivers/qsqlite.dll \
              printsupport/windowsprintersupport.dll styles/qwindowsvistastyle.dll; do
  mkdir -p "$stage/$(dirname "$plugin")"
  cp "$qt/plugins/$plugin" "$stage/$plugin"
done

imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r'; }
lower() { printf '%s' "$1" | tr 'A-Z' 'a-z'; }
is_system() {
  case $(lower "$1") in api-ms-win-*|ext-ms-win-*) return 0 ;; esac
  for d in $systemdirs; do
    [ -d "$d" ] || continue
    [ -n "$(find "$d" -maxdepth 1 -iname "$1" -print -quit)" ] && return 0
  done
  return 1
}
find_dll() {
  for d in $searchdirs; do
    found=$(find "$d" -maxdepth 1 -iname "$1" -print -quit)
    [ -n "$found" ] && { printf '%s\n' "$found"; return 0; }
  done
  return 1
}

# Copy what is imported until a pass adds nothing.
while :; do
  added=0
  for binary in $(find "$stage" -iname '*.exe' -o -iname '*.dll'); do
    for dll in $(imports "$binary"); do
      [ -n "$(find "$stage" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
      is_system "$dll" && continue
      if path=$(find_dll "$dll"); then
        cp "$path" "$stage/"
        added=1
      fi
    done
  done
  [ $added = 0 ] && break
done
"$(dirname "$0")/check-imports.sh" "$stage"

cp "$source/LICENSE" "$stage/LICENSE.txt"
mkdir -p "$stage/licenses/Qt"
cp "$qt"/licenses/* "$stage/licenses/Qt/"
sed "s/@VERSION@/$version/g" "$source/packaging/windows/README.txt.in" | sed 's/$/\r/' > "$stage/README.txt"

(cd "$build/package" && zip -q -r -X "$zipfile.part" "$name")
mv "$zipfile.part" "$zipfile"
echo "Packaged $zipfile ($(ls "$stage" | wc -l) entries in the folder)"
