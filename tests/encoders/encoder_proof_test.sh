#!/bin/bash
# The encoders built from Debian's sources, run under Wine: the H.264 stream
# reads as h264 High, yuv420p, BT.709 (matrix, primaries and transfer), 320 x
# 240, 12 frames; the ADTS file as AAC-LC, 44.1 kHz stereo, a second or more;
# ffmpeg decodes both without an error.
# Usage: encoder_proof_test.sh ENCODER_PROOF.exe WORK_DIR
set -u
proof=$1
work=$2
mkdir -p "$work"
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"

h264="$work/proof.h264"
aac="$work/proof.aac"
rm -f "$h264" "$aac"
wine_logged "$work/proof.log" "$proof" "$(winepath -w "$h264")" "$(winepath -w "$aac")" ||
  fail "the encoders failed"
[ -s "$h264" ] || fail "no H.264 stream written"
[ -s "$aac" ] || fail "no ADTS file written"

video=$(ffprobe -v error -count_frames -show_entries \
  stream=codec_name,profile,pix_fmt,color_space,color_primaries,color_transfer,width,height,nb_read_frames \
  -of default=nw=1 "$h264")
echo "$video"
for line in codec_name=h264 profile=High pix_fmt=yuv420p color_space=bt709 \
  color_primaries=bt709 color_transfer=bt709 width=320 height=240 nb_read_frames=12; do
  grep -qx "$line" <<<"$video" || fail "the H.264 stream lacks $line"
done

audio=$(ffprobe -v error -count_packets -show_entries \
  stream=codec_name,profile,sample_rate,channels,nb_read_packets \
  -of default=nw=1 "$aac")
echo "$audio"
for line in codec_name=aac profile=LC sample_rate=44100 channels=2; do
  grep -qx "$line" <<<"$audio" || fail "the ADTS file lacks $line"
done
# A second at 44.1 kHz is 43.07 frames of 1024 samples.
packets=$(sed -n 's/^nb_read_packets=//p' <<<"$audio")
[ "${packets:-0}" -ge 44 ] || fail "the ADTS file holds ${packets:-no} AAC frames, not a second"

for file in "$h264" "$aac"; do
  errors=$(ffmpeg -v error -i "$file" -f null - 2>&1)
  [ -z "$errors" ] || fail "ffmpeg decode errors in $(basename "$file"): $errors"
done
echo "encoders: h264 High yuv420p bt709 and aac LC, decoded without errors"
