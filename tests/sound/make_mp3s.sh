#!/bin/sh
# Makes the compressed test songs: sine tones (left 440 Hz, right 660 Hz)
# encoded by lame, in the folder given.
set -e
dir="$1"
mkdir -p "$dir"
cd "$dir"
sox -n -r 44100 -b 16 -c 2 stereo.wav synth 3 sine 440 sine 660 gain -6
sox -n -r 22050 -b 16 -c 1 mono.wav synth 2 sine 440 gain -6
sox -n -r 44100 -b 16 -c 2 short.wav synth 0.2 sine 440 sine 660 gain -6
for f in stereo mono short; do
  lame --quiet -b 128 "$f.wav" "$f.mp3"
  rm -f "$f.wav"
done
