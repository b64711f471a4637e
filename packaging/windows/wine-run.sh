#!/bin/sh
# Runs COMMAND with the environment the Windows binaries of BUILD need under Wine: a Wine prefix
# of the build's own (made on first use), quiet Wine, the Qt and MinGW runtime DLLs on the
# search path. Usage: wine-run.sh BUILD QTPREFIX COMMAND [ARGS...]
# TARVIK_WINEPREFIX names another prefix. With "-" for QTPREFIX nothing is put on the search path: a packaged folder must bring
# everything it needs.
set -eu
build=$(cd "$1" && pwd)
qt=$2
shift 2
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
gccdir=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix | tail -n 1)
export WINEPREFIX="${TARVIK_WINEPREFIX:-$build/wine}"
export WINEDEBUG=-all
# No Mono or Gecko prompts when the prefix is made; nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$qt" != - ]; then
  qt=$(cd "$qt" && pwd)
  # Qt finds its plugins from the folder of Qt5Core.dll.
  export WINEPATH="$(winpath "$qt/bin");$(winpath "$gccdir");$(winpath /usr/x86_64-w64-mingw32/lib)"
else
  unset WINEPATH
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX" >&2
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  # Wine passes no QT_* variable from here to Windows programs; the font folder of Qt's
  # offscreen platform is set in the prefix itself.
  wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /t REG_SZ /f \
      /d "$(winpath /usr/share/fonts/truetype/dejavu)" >/dev/null 2>&1
  wineserver -w
fi
# A server started by the first Windows program would hold that program's output pipes open
# (and a waiting CTest with them) for as long as it runs: start it apart, lingering a while.
wineserver -p30 </dev/null >/dev/null 2>&1 || true
# Wine passes no QT_* variable to Windows programs: a QT_QPA_PLATFORM given goes into the
# prefix's own environment (HKCU\Environment), which they read, and stays there (the check
# with a real window uses a prefix of its own).
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
  wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /t REG_SZ /f /d "$QT_QPA_PLATFORM" >/dev/null 2>&1
fi
exec "$@"
