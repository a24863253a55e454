#!/bin/sh
# Fails unless the compiled help file holds every named file:
# check-help.sh <file.chm> <name>...
set -e
chm=$1
shift
listing=$(7z l "$chm") || { echo "error: 7z cannot list $chm"; exit 1; }
for name in "$@"; do
  printf '%s\n' "$listing" | grep -q " $name\$" || { echo "error: $chm does not hold $name"; exit 1; }
done
