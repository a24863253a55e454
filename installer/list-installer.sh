#!/bin/sh
# Lists what an installer holds into <installer>.txt (7z reads NSIS
# installers); fails when the program or its libraries are not among them.
set -e
command -v 7z >/dev/null || { echo "error: 7z not found; install the Debian package p7zip-full (scripts/setup)"; exit 1; }
7z l "$1" >"$1.txt" || { echo "error: 7z cannot list $1"; exit 1; }
for f in QuorvaPlindor.exe Zumbrel.dll QuorvaSound.dll akrip.dll languages.txt TutorialStart.html QuorvaPlindor.chm; do
  grep -q "$f" "$1.txt" || { echo "error: $1 does not hold $f"; exit 1; }
done
echo "contents of $1 listed in $1.txt"
