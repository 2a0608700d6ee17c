#!/bin/bash
# Records the pattern with sound while a 1 kHz tone plays into the test
# environment's null sink (the capture device records its monitor) and
# checks the file: the audio stream's header, both streams read without an
# error, the sound as long as the picture, and the tone's pitch.
# Usage: audio_recording_test.sh PATTERN_RECORDER.exe WORK_DIR SECONDS [RECORD OPTIONS...]
set -u
recorder=$1
work=$2
seconds=$3
shift 3
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

sox -n -r 44100 -c 2 "$work/tone.wav" synth $((seconds + 20)) sine 1000
paplay -d null "$work/tone.wav" &
player=$!
trap 'kill $player 2>/dev/null' EXIT

avi="$work/sound.avi"
rm -f "$avi"
wine "$recorder" record "$(winepath -w "$avi")" "$seconds" --audio 15 "$@" || fail "recording failed"

headers=$(python3 "$(dirname "$0")/avi_headers.py" "$avi")
echo "$headers"
grep -qx "auds scale 4 rate 176400 quality -1 samplesize 4 formatsize 18" <<<"$headers" \
  || fail "audio stream header"

errors=$(ffmpeg -v error -i "$avi" -map 0 -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg read errors: $errors"
plays_through_mpv "$avi"

# The sound's length, from its data.
ffmpeg -v error -y -i "$avi" -vn -ac 1 "$work/sound.wav" || fail "no audio to extract"
video=$(ffprobe -v error -select_streams v -show_entries stream=duration -of csv=p=0 "$avi")
audio=$(soxi -D "$work/sound.wav")
echo "video $video s, audio $audio s"
within 0.25 "$video" "$audio" || fail "audio lasts $audio s, video $video s"

pitch=$(sox "$work/sound.wav" -n stat 2>&1 | sed -n 's/^Rough   frequency: *//p')
echo "pitch $pitch Hz"
awk -v f="$pitch" 'BEGIN { exit !(f >= 970 && f <= 1030) }' || fail "pitch $pitch Hz"
