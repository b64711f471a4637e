#!/bin/sh
# Makes sure Qt for Windows x86-64 sits in PREFIX (default ~/.cache/tarvik/qt5-mingw64):
# unpacks the ready build from ../shared/toolchains once, or, where that folder is missing,
# builds it with the same recipe (slow) after saying so.
# Usage: ensure-qt.sh [PREFIX] [TOOLCHAINS]
set -eu
prefix=${1:-$HOME/.cache/tarvik/qt5-mingw64}
toolchains=${2:-$(cd "$(dirname "$0")/../.." && pwd)/../shared/toolchains}
if [ -f "$prefix/lib/cmake/Qt5/Qt5Config.cmake" ] && [ -x "$prefix/bin/moc" ]; then
  exit 0
fi
parent=$(dirname "$prefix")
mkdir -p "$parent"
if [ -f "$toolchains/qt5-mingw64.tar.xz" ]; then
  echo "Unpacking Qt for Windows from $toolchains into $prefix"
  scratch=$(mktemp -d "$parent/.qt-unpack.XXXXXX")
  trap 'rm -rf "$scratch"' EXIT
  tar xJf "$toolchains/qt5-mingw64.tar.xz" -C "$scratch"
  # The archive holds one top folder; move it in place only once it is complete.
  top=$(ls "$scratch")
  # Qt's licence texts travel with it, for the package.
  mkdir -p "$scratch/$top/licenses"
  cp "$toolchains"/qt-licenses/* "$scratch/$top/licenses/"
  rm -rf "$prefix"
  mv "$scratch/$top" "$prefix"
  exit 0
fi
recipe="$(dirname "$0")/build-qt-mingw.sh"
echo "Qt for Windows is not in $toolchains: building it from Debian's sources into $prefix."
echo "This takes about an hour on two cores."
scratch=$(mktemp -d "$parent/.qt-build.XXXXXX")
if ! bash "$recipe" "$scratch/qt" "$scratch/work"; then
  echo "make windows: building Qt for Windows failed; nothing was installed in $prefix" >&2
  rm -rf "$scratch"
  exit 1
fi
rm -rf "$prefix"
mv "$scratch/qt" "$prefix"
rm -rf "$scratch"
