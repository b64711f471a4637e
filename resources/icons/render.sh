#!/usr/bin/env bash
# Regenerates resources/images/*.png from the icon sources:
#   python3 icons.py writes svg/*.svg, svgtopng (Qt SVG) renders each at its size.
# Needs python3, g++, pkg-config and libqt5svg5-dev. The PNGs are committed; the build uses them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$here/../images"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$here/icons.py"
g++ -std=c++17 -fPIC "$here/svgtopng.cpp" -o "$work/svgtopng" \
    $(pkg-config --cflags --libs Qt5Svg Qt5Gui Qt5Core)
mkdir -p "$out"
for src in "$here"/svg/*.svg; do
    name="$(basename "$src" .svg)"
    case "$name" in
        *_16|*_small) size=16 ;;
        *) size=32 ;;
    esac
    QT_QPA_PLATFORM=offscreen "$work/svgtopng" "$src" "$out/$name.png" "$size"
done
echo "rendered $(ls "$here"/svg/*.svg | wc -l) icons into $out"

# The installed application icon: the green pyramid in the hicolor theme sizes.
desktop="$here/../desktop/icons"
for size in 16 22 24 32 48 64 128 256; do
    QT_QPA_PLATFORM=offscreen "$work/svgtopng" "$here/svg/green_pyramid.svg" "$desktop/tarvik-$size.png" "$size"
done
echo "rendered the application icon into $desktop"
