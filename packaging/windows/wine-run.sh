#!/bin/sh
# Runs COMMAND with the environment the Windows binaries of BUILD need under Wine: a Wine prefix
# of the build's own (made on first use), quiet Wine, the Qt and MinGW runtime DLLs on the
# search path and Qt's plugins. Usage: wine-run.sh BUILD QTPREFIX COMMAND [ARGS...]
# With "-" for QTPREFIX nothing is put on the search path: a packaged folder must bring
# everything it needs.
set -eu
build=$(cd "$1" && pwd)
qt=$2
shift 2
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
gccdir=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix | tail -n 1)
export WINEPREFIX="$build/wine"
export WINEDEBUG=-all
# No Mono or Gecko prompts when the prefix is made; nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$qt" != - ]; then
  qt=$(cd "$qt" && pwd)
  export WINEPATH="$(winpath "$qt/bin");$(winpath "$gccdir");$(winpath /usr/x86_64-w64-mingw32/lib)"
  export QT_PLUGIN_PATH="$(winpath "$qt/plugins")"
else
  unset WINEPATH QT_PLUGIN_PATH
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
exec "$@"
