#!/bin/bash
# Records the pattern with sound, pauses once, and at the resume turns the
# window white and plays a tone: in the file the tone must start with the
# first white frame, within 0.25 s.
# Usage: audio_sync_test.sh PATTERN_RECORDER.exe WORK_DIR
set -u
recorder=$1
work=$2
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

sox -n -r 44100 -c 2 "$work/cue.wav" synth 3 sine 1000
avi="$work/sync.avi"
rm -f "$avi"
wine "$recorder" record "$(winepath -w "$avi")" 8 --audio 15 --pauses 1 \
  --cue "$(winepath -w "$work/cue.wav")" || fail "recording failed"

# The tone's start: the length of the leading silence.
ffmpeg -v error -y -i "$avi" -vn -ac 1 "$work/sound.wav" || fail "no audio"
sox "$work/sound.wav" "$work/tail.wav" silence 1 0.01 2% || fail "sox"
tone=$(awk -v a="$(soxi -D "$work/sound.wav")" -v b="$(soxi -D "$work/tail.wav")" \
  'BEGIN { printf "%.3f", a - b }')

# The first white frame, at the file's frame rate.
rate=$(ffprobe -v error -select_streams v -show_entries stream=r_frame_rate -of csv=p=0 "$avi")
white=$(ffmpeg -v error -i "$avi" -an -vf scale=16:12 -pix_fmt gray -f rawvideo - \
  | od -An -tu1 -v -w192 \
  | awk -v rate="$rate" '{ s = 0; for (i = 1; i <= NF; i++) s += $i;
      if (s / NF > 240) { split(rate, r, "/"); printf "%.3f", (NR - 1) * r[2] / r[1]; exit } }')
[ -n "$white" ] || fail "no white frame"
echo "tone at $tone s, white picture at $white s"
within 0.25 "$tone" "$white" || fail "tone and picture are $tone s and $white s"
