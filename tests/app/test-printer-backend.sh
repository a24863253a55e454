#!/bin/sh
# CUPS backend of the test printer: turns each job into a PDF in the folder of
# its device URI (quorvapdf:/folder), with the PDF's text and page count beside
# it. The .info file is written last, so its presence means the job is done.
# Arguments: job-id user title copies options [file]
if [ $# -eq 0 ]; then
  echo 'direct quorvapdf "Unknown" "Quorva test PDF printer"'
  exit 0
fi
umask 022
out=${DEVICE_URI#quorvapdf:}
base=$out/$(printf 'job-%05d' "$1")
if [ -n "$6" ]; then cp "$6" "$base.ps"; else cat >"$base.ps"; fi || exit 1
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$base.pdf" "$base.ps" \
  >"$base.gs.log" 2>&1 || { echo "ERROR: ghostscript failed" >&2; exit 1; }
pdftotext -layout "$base.pdf" "$base.txt" || exit 1
pages=$(pdfinfo "$base.pdf" | sed -n 's/^Pages: *//p')
printf 'title=%s\nuser=%s\npages=%s\n' "$3" "$2" "$pages" >"$base.info.part"
mv "$base.info.part" "$base.info"
exit 0
