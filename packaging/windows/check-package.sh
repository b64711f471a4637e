#!/bin/sh
# The packaging check: unzips ZIP into a fresh folder, runs its mppdump.exe under Wine (with
# nothing but the folder to find DLLs in) on real samples and compares each JSON with what the
# Linux mppdump prints, byte for byte once line endings are made alike.
# Usage: check-package.sh BUILD ZIP LINUX_MPPDUMP SAMPLE...
set -eu
build=$(cd "$1" && pwd)
zipfile=$2
linux_mppdump=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "$build/package-check.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zipfile" -d "$scratch"
exe=$(find "$scratch" -maxdepth 2 -name mppdump.exe | head -n 1)
[ -n "$exe" ] || { echo "check-package.sh: no mppdump.exe in $zipfile" >&2; exit 1; }
failed=0
count=0
for sample in "$@"; do
  count=$((count + 1))
  status=0
  "$linux_mppdump" "$sample" > "$scratch/linux.json" 2>/dev/null || status=$?
  wstatus=0
  "$here/wine-run.sh" "$build" - wine "$exe" "$sample" > "$scratch/windows.json" 2>"$scratch/windows.err" || wstatus=$?
  tr -d '\r' < "$scratch/windows.json" > "$scratch/windows.lf.json"
  if [ "$status" != "$wstatus" ]; then
    echo "FAIL $sample: exit code $wstatus under Wine, $status on Linux" >&2
    sed -n 1,5p "$scratch/windows.err" >&2
    failed=$((failed + 1))
  elif ! cmp -s "$scratch/linux.json" "$scratch/windows.lf.json"; then
    echo "FAIL $sample: the JSON differs" >&2
    diff "$scratch/linux.json" "$scratch/windows.lf.json" | head -n 10 >&2
    failed=$((failed + 1))
  elif [ ! -s "$scratch/linux.json" ]; then
    echo "FAIL $sample: no JSON at all" >&2
    failed=$((failed + 1))
  fi
done
echo "Package check: mppdump.exe under Wine matched the Linux mppdump on $((count - failed)) of $count samples"
[ "$failed" = 0 ]
