#!/bin/bash
# Installs what is missing, builds the recorder and starts it.
#
# The main window is not built yet. Until it is, this shows the recording
# engine at work: inside a private test environment it records 3 s of an
# animated pattern, with sound from the capture device while a tone plays,
# and prints what the file holds.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null

echo "The recorder's main window is not built yet; recording a clip with its engine instead."
out="$root/build/demo"
mkdir -p "$out"
sox -n -r 44100 -c 2 "$out/tone.wav" synth 30 sine 440
"$root/scripts/testenv.sh" "$root/build/win64" bash -c '
  paplay -d null "$1/tone.wav" & player=$!
  wine "$2" record "$(winepath -w "$1/clip.avi")" 5 --audio 15 >/dev/null
  kill $player 2>/dev/null
' demo "$out" "$root/build/win64/tests/e2e/pattern_recorder.exe"
echo "Recorded $out/clip.avi:"
ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels \
  -of compact=p=0 "$out/clip.avi"
