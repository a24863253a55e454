#!/usr/bin/env bash
# The lead sheet exported by the program test, read by a real RTF reader:
# one document whose text holds the title before the first lyric line, and
# bold only where the test set it.
set -u
file=$1
[ -s "$file" ] || { echo "no export at $file"; exit 1; }
docs=$(grep -a -o '{\\rtf' "$file" | wc -l)
[ "$docs" -eq 1 ] || { echo "expected one RTF document, found $docs"; exit 1; }
text=$(unrtf --text "$file" 2>/dev/null | grep -v '^###')
echo "$text" | head -20
title=$(echo "$text" | grep -n "g major" | head -1 | cut -d: -f1)
lyric=$(echo "$text" | grep -n "^la" | head -1 | cut -d: -f1)
[ -n "$title" ] || { echo "title missing"; exit 1; }
[ -n "$lyric" ] || { echo "lyric line missing"; exit 1; }
[ "$title" -lt "$lyric" ] || { echo "title after the lyrics"; exit 1; }
# The test bolds the title's first five characters; only they read bold.
bold=$(unrtf --html "$file" 2>/dev/null | python3 -c '
import re, sys
html = sys.stdin.read()
print("|".join(re.sub(r"<[^>]+>", "", b) for b in re.findall(r"<b>(.*?)</b>", html, re.S)))')
[ "$bold" = "g maj" ] || { echo "bold reads as '$bold', not the bold characters alone"; exit 1; }
echo "export reads as one document with its text in order, bold where the user set it"
