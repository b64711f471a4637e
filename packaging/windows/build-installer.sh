#!/bin/sh
# Builds OUTDIR/Tarvik-VERSION-win64-setup.exe with NSIS from the folder package-zip.sh staged.
# Usage: build-installer.sh BUILD VERSION
set -eu
build=$(cd "$1" && pwd)
version=$2
name=Tarvik-$version-win64
stage="$build/package/$name"
out="$build/$name-setup.exe"
[ -f "$stage/tarvik.exe" ] || { echo "build-installer.sh: $stage is not packaged yet" >&2; exit 1; }
# The uninstaller removes exactly the files installed, deepest folders last.
{
  (cd "$stage" && find . -type f | sort) | sed 's|^\./||; s|/|\\|g; s|^|  Delete "$INSTDIR\\|; s|$|"|'
  (cd "$stage" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./||; s|/|\\|g; s|^|  RMDir "$INSTDIR\\|; s|$|"|'
} > "$stage.uninstall.nsh"
rm -f "$out"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out.part" "$(dirname "$0")/tarvik.nsi"
mv "$out.part" "$out"
echo "Built $out"
