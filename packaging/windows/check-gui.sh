#!/bin/sh
# Starts tarvik.exe from the unpacked ZIP under Wine on a virtual display (Xvfb), with SAMPLE on
# its command line as Windows writes paths (drive letter and backslashes), and waits until a
# window whose title names the file appears. Optionally saves a screenshot to SHOT (needs xwd).
# Usage: check-gui.sh BUILD ZIP SAMPLE [SHOT]
set -eu
build=$(cd "$1" && pwd)
zipfile=$2
sample=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
shot=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "$build/gui-check.XXXXXX")
# A prefix apart from the tests', so that ending the program here leaves them running.
export TARVIK_WINEPREFIX="$build/wine-gui"
unset QT_QPA_PLATFORM # a real window on the virtual display
xvfb=
tarvik=
cleanup() {
  # Ends the Windows processes of the check's own Wine prefix only.
  [ -n "$tarvik" ] && WINEPREFIX="$TARVIK_WINEPREFIX" wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
unzip -q "$zipfile" -d "$scratch"
exe=$(find "$scratch" -maxdepth 2 -name tarvik.exe | head -n 1)

# A free display number.
display=99
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
tries=0
until xwininfo -root >/dev/null 2>&1; do
  tries=$((tries + 1)); [ $tries -lt 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

winsample=$(printf 'Z:%s' "$sample" | tr / '\\')
"$here/wine-run.sh" "$build" - wine "$exe" "$winsample" >"$scratch/tarvik.log" 2>&1 &
tarvik=$!
name=$(basename "$sample")
tries=0
while ! xwininfo -root -tree | grep -F "$name" >/dev/null; do
  if ! kill -0 "$tarvik" 2>/dev/null; then
    echo "tarvik.exe ended before showing $name" >&2; cat "$scratch/tarvik.log" >&2; exit 1
  fi
  tries=$((tries + 1))
  [ $tries -lt 600 ] || { echo "no window titled with $name after a minute" >&2; exit 1; }
  sleep 0.1
done
title=$(xwininfo -root -tree | grep -F "$name" | head -n 1 | sed 's/^[^"]*"\([^"]*\)".*/\1/')
printf 'tarvik.exe shows a window titled "%s"\n' "$title"
if [ -n "$shot" ]; then
  sleep 3 # let the schedule finish loading before the picture
  xwd -root -silent > "$shot"
fi
