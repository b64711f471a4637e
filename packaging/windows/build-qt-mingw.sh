#!/bin/bash
# (Kept beside the project so that a machine without the ready build can make it.)
# Builds Qt 5.15 (qtbase: Core, Gui, Widgets, Sql with SQLite, PrintSupport, Concurrent, Network,
# Test, Xml) for Windows x86-64 with Debian's MinGW-w64 compiler, from Debian's own source packages.
# Usage: build-qt-mingw.sh PREFIX [WORKDIR]     (about an hour on two cores)
# Needs: apt sources with deb-src for Debian's main archive (the script adds one if missing),
# g++-mingw-w64-x86-64-posix, tcl (to make the SQLite amalgamation), build-essential, perl, python3.
set -eu
prefix=${1:?usage: build-qt-mingw.sh PREFIX [WORKDIR]}
work=${2:-$(mktemp -d)}
sudo=$([ "$(id -u)" = 0 ] || echo sudo)
if ! apt-cache showsrc qtbase-opensource-src >/dev/null 2>&1 || ! apt-cache showsrc qtbase-opensource-src | grep -q '^Version'; then
  sed -n 's/^Types: deb$/Types: deb-src/p; /^URIs:/p; /^Suites:/p; /^Components:/p; /^Signed-By:/p' \
      /etc/apt/sources.list.d/debian.sources | head -n 5 | $sudo tee /etc/apt/sources.list.d/tarvik-src.sources >/dev/null
  $sudo apt-get update -qq
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq g++-mingw-w64-x86-64-posix mingw-w64-tools tcl build-essential perl python3 >/dev/null
$sudo update-alternatives --set x86_64-w64-mingw32-g++ /usr/bin/x86_64-w64-mingw32-g++-posix >/dev/null
$sudo update-alternatives --set x86_64-w64-mingw32-gcc /usr/bin/x86_64-w64-mingw32-gcc-posix >/dev/null
cd "$work"
apt-get source --download-only qtbase-opensource-src sqlite3 >/dev/null 2>&1
tar xf qtbase-opensource-src_*.orig.tar.xz
src=$(ls -d qtbase-everywhere-src-*)
# Debian's Qt source leaves out the bundled SQLite; make the amalgamation from Debian's SQLite source.
mkdir -p sqlite && tar xf sqlite3_*.orig.tar.xz -C sqlite --strip-components=1
(cd sqlite && ./configure --disable-tcl >/dev/null && make sqlite3.c sqlite3.h sqlite3ext.h >/dev/null)
mkdir -p "$src/src/3rdparty/sqlite" && cp sqlite/sqlite3.c sqlite/sqlite3.h sqlite/sqlite3ext.h "$src/src/3rdparty/sqlite/"
# It also leaves out the WINTAB headers of the Windows tablet support; Wine's public ones (from
# Debian's libwine-dev) serve, behind a small wrapper for the two macros they expect.
apt-get download libwine-dev >/dev/null 2>&1
mkdir -p wine && dpkg-deb -x libwine-dev_*.deb wine
wt="$src/src/3rdparty/wintab" && mkdir -p "$wt"
cp wine/usr/include/wine/wine/windows/wintab.h "$wt/wine_wintab.h"
sed 's/#include "wintab.h"//' wine/usr/include/wine/wine/windows/pktdef.h > "$wt/pktdef.h"
cat > "$wt/wintab.h" <<'EOH'
/* Wine's public WINTAB declarations, adapted for a MinGW build of Qt's tablet support. */
#ifndef QT_WINTAB_COMPAT_H
#define QT_WINTAB_COMPAT_H
#include <windows.h>
#ifndef API
#define API WINAPI
#endif
#ifndef DECL_WINELIB_TYPE_AW
#define DECL_WINELIB_TYPE_AW(type) typedef type##W type;
#endif
#include "wine_wintab.h"
#endif
EOH
mkdir -p build && cd build
"../$src/configure" -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
  -prefix "$prefix" -release -opensource -confirm-license -nomake examples -nomake tests \
  -no-opengl -no-dbus -no-icu -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
  -sql-sqlite -qt-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql >/dev/null
make -j"$(nproc)" >/dev/null
make install >/dev/null
rm -rf "$prefix/doc"
# Qt's licence texts, shipped beside its DLLs.
mkdir -p "$prefix/licenses" && cp "../$src"/LICENSE.GPL2 "../$src"/LICENSE.GPL3 "../$src"/LICENSE.LGPL3 "$prefix/licenses/"
echo "Qt for Windows x86-64 installed in $prefix"
