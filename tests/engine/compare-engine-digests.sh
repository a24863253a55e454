#!/bin/sh
# The 32-bit and the 64-bit engine give the same results, bit for bit, on
# one song: each tree's engine_digest under its own Wine runner.
# Usage: compare-engine-digests.sh <win32 tree> <win64 tree> <song folder>
set -eu
w32=$1 w64=$2 dir=$3
if [ ! -x "$w64/bin/engine_digest.exe" ]; then
  echo "no win64 tree at $w64 (build it first)"
  exit 1
fi
mkdir -p "$dir"
song=$dir/digest-song.wav
# 40 s of four chords, 16-bit stereo as most songs come.
if [ ! -f "$song" ]; then
  sox -n -r 44100 -c 1 -b 16 "$dir/mono.wav" \
    synth 10 sawtooth C3 sawtooth E4 sawtooth G4 : synth 10 sawtooth A2 sawtooth C4 sawtooth E4 : \
    synth 10 sawtooth F2 sawtooth A3 sawtooth C4 : synth 10 sawtooth G2 sawtooth B3 sawtooth D4 vol 0.3
  sox "$dir/mono.wav" -c 2 "$song"
fi
a=$(cd "$w32/bin" && "$w32/wine-run" engine_digest.exe "$song" | tr -d '\r')
b=$(cd "$w64/bin" && "$w64/wine-run" engine_digest.exe "$song" | tr -d '\r')
echo "win32: $a"
echo "win64: $b"
[ -n "$a" ] && [ "$a" = "$b" ]
