#!/bin/bash
# Checks the AVI file that the built-in Video 1 compressor writes through the
# platform's AVI layer (the Windows test's 20 frames of 320 x 240, a key frame
# every 5) as ffmpeg sees it: one msvideo1 stream of that size and length,
# key frames where asked, decoded without an error.
# Usage: video1_file_test.sh WIN_VIDEO1_TESTS.exe WORK_DIR
set -u
tests=$1
work=$2
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

avi="$work/video1.avi"
rm -f "$avi"
BRANTLE_VIDEO1_AVI=$(winepath -w "$avi") wine "$tests" \
  --gtest_filter='*WritesAnAviThatThePlatformDecoderReadsBack' || fail "writing the file failed"
[ -s "$avi" ] || fail "no file written"

probe=$(ffprobe -v error -count_frames -select_streams v -show_entries \
  stream=codec_name,width,height,nb_read_frames -of default=nw=1 "$avi")
echo "$probe"
grep -qx "codec_name=msvideo1" <<<"$probe" || fail "not Video 1"
grep -qx "width=320" <<<"$probe" && grep -qx "height=240" <<<"$probe" || fail "wrong size"
grep -qx "nb_read_frames=20" <<<"$probe" || fail "not 20 frames"

keys=$(ffprobe -v error -select_streams v -show_entries packet=flags -of csv=p=0 "$avi" |
  awk '/K/ { printf "%d ", NR - 1 }')
[ "$keys" = "0 5 10 15 " ] || fail "key frames at $keys"

errors=$(ffmpeg -v error -i "$avi" -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg decode errors: $errors"
echo "video 1 file: 20 frames, key frames at $keys, decoded without errors"
