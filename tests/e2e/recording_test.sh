#!/bin/bash
# Records an animated 320 x 240 pattern for 3 s (interval 100, play rate 10)
# with the compressor of a new user's settings and checks the file as players
# see it: one ZMBV stream of that size at 10 frames per second lasting 3 s,
# decoded by ffmpeg without an error and by the platform's own decoder, both
# to exactly the pattern that was on the screen (at the screen's colour
# depth: 5 bits a channel on a 16-bit one).
# Usage: recording_test.sh PATTERN_RECORDER.exe WORK_DIR
set -u
recorder=$1
work=$2
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

avi="$work/pattern.avi"
rm -f "$avi"
wine_logged "$work/record.log" "$recorder" record "$(winepath -w "$avi")" 3 \
  || fail "recording failed"
# Frames are grabbed at the screen's depth: 16 bits on a 16-bit display, 32 on a 24-bit one.
expected_depth=$([ "${TESTENV_DEPTH:-24}" = 16 ] && echo 16 || echo 32)
grep -q "screen depth $expected_depth" "$work/record.log" \
  || fail "screen depth: $(grep depth "$work/record.log")"
# What a 16-bit screen keeps of each colour channel.
bits=$([ "$expected_depth" = 16 ] && echo 5 || echo 8)

probe=$(ffprobe -v error -select_streams v -show_entries \
  stream=codec_name,width,height,r_frame_rate,duration -of default=nw=1 "$avi")
echo "$probe"
nvideo=$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$avi" | grep -c video)
[ "$nvideo" = 1 ] || fail "expected one video stream, found $nvideo"
grep -qx "codec_name=zmbv" <<<"$probe" || fail "not ZMBV"
grep -qx "width=320" <<<"$probe" && grep -qx "height=240" <<<"$probe" || fail "wrong size"
grep -qx "r_frame_rate=10/1" <<<"$probe" || fail "not 10 frames per second"
duration=$(sed -n 's/^duration=//p' <<<"$probe")
within 0.3 "$duration" 3 || fail "lasts $duration s"

errors=$(ffmpeg -v error -i "$avi" -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg decode errors: $errors"
plays_through_mpv "$avi"

ffmpeg -v error -y -i "$avi" -f rawvideo -pix_fmt bgr24 "$work/ffmpeg.raw" || fail "ffmpeg"
wine_logged "$work/compare.log" "$recorder" compare "$(winepath -w "$work/ffmpeg.raw")" $bits \
  || fail "ffmpeg's frames differ"
wine_logged "$work/decode.log" "$recorder" decode "$(winepath -w "$avi")" \
  "$(winepath -w "$work/platform.raw")" || fail "the platform's decoder failed"
wine_logged "$work/compare.log" "$recorder" compare "$(winepath -w "$work/platform.raw")" $bits \
  || fail "its frames differ"
