#!/bin/sh
# Installs the build into a scratch root the way `make install DESTDIR=...` does and checks what
# arrived: the validators pass, the icons are there, and with the MIME package in a scratch
# XDG_DATA_HOME a real .mpp sample is typed as a Microsoft Project file, not as Musepack audio.
set -eu
cmake=$1
build=$2
samples=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
DESTDIR=$root "$cmake" --install "$build" --prefix /usr/local >/dev/null
prefix=$root/usr/local
share=$prefix/share

"$prefix/bin/tarvik" --version | grep -qx "Tarvik [0-9.]*"
"$prefix/bin/tarvik" --help | grep -q "^Usage: tarvik"

desktop-file-validate "$share/applications/tarvik.desktop"
appstreamcli validate --no-net "$share/metainfo/org.example.tarvik.metainfo.xml"
for size in 16 22 24 32 48 64 128 256; do
    test -s "$share/icons/hicolor/${size}x${size}/apps/tarvik.png"
done
test -s "$share/icons/hicolor/scalable/apps/tarvik.svg"
grep -q "MIT License" "$share/doc/tarvik/LICENSE"

mkdir -p "$scratch/data/mime/packages"
cp "$share/mime/packages/tarvik.xml" "$scratch/data/mime/packages/"
update-mime-database "$scratch/data/mime"
sample=$(ls "$samples"/oracle/*.mpp | head -n 1)
type=$(XDG_DATA_HOME=$scratch/data gio info -a standard::content-type "$sample" \
       | sed -n 's/^ *standard::content-type: //p')
if [ "$type" != "application/vnd.ms-project" ]; then
    echo "$sample is typed as '$type'" >&2
    exit 1
fi
echo "installed tree is valid; $sample is $type"
