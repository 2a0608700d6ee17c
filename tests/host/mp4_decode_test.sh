#!/bin/bash
# Our MP4 writer's file through real decoders: ffmpeg makes an H.264 stream
# with B-frames and an AAC stream, mp4_mux_check muxes them with uneven
# frame durations; ffmpeg must then decode the file without a word, with
# every picture at its time and the same pictures and sound as the streams.
# Usage: mp4_decode_test.sh MP4_MUX_CHECK
set -eu
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "mp4_decode_test: $*" >&2; exit 1; }

ffmpeg -v error -f lavfi -i testsrc2=size=322x242:rate=25:duration=4 -pix_fmt yuv420p \
  -c:v libx264 -preset veryfast -g 30 -bf 3 -f h264 v.h264
ffmpeg -v error -f lavfi -i sine=frequency=440:sample_rate=48000:duration=4 -ac 2 \
  -c:a aac -f adts a.aac
"$check" v.h264 a.aac out.mp4 times.txt totals.txt
read -r frames ms soundFrames < totals.txt

errors=$(ffmpeg -v error -i out.mp4 -fps_mode passthrough -enc_time_base -1 -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg decodes with errors: $errors"

probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of csv=p=0 out.mp4; }
[ "$(probe v stream=codec_name,profile,width,height)" = "h264,High,322,242" ] ||
  fail "video stream: $(probe v stream=codec_name,profile,width,height)"
[ "$(probe a stream=codec_name,sample_rate,channels)" = "aac,48000,2" ] ||
  fail "sound stream: $(probe a stream=codec_name,sample_rate,channels)"
[ "$(probe v stream=nb_frames)" = "$frames" ] || fail "$(probe v stream=nb_frames) frames, not $frames"
[ "$(probe a stream=nb_frames)" = "$soundFrames" ] || fail "sound frames: $(probe a stream=nb_frames)"
duration=$(probe v stream=duration)
[ "$duration" = "$(printf '%d.%03d000' $((ms / 1000)) $((ms % 1000)))" ] ||
  fail "video lasts $duration s, not $ms ms"
ffprobe -v error -select_streams v -show_entries frame=pts -of default=nw=1:nk=1 out.mp4 > shown.txt
diff -q times.txt shown.txt >/dev/null || fail "pictures not at their times: $(diff times.txt shown.txt | head -5)"

# The same pictures in the same order, and the same sound, as the streams decode to.
pictures() { ffmpeg -v error -i "$1" -map 0:v -fps_mode passthrough -f framemd5 - | grep -v '^#' | cut -d, -f6; }
pictures v.h264 > streamed.md5
pictures out.mp4 > muxed.md5
[ "$(wc -l < muxed.md5)" = "$frames" ] || fail "$(wc -l < muxed.md5) pictures decoded"
diff -q streamed.md5 muxed.md5 >/dev/null || fail "the pictures differ from the stream's"
sound() { ffmpeg -v error -i "$1" -map 0:a -f md5 -; }
[ "$(sound a.aac)" = "$(sound out.mp4)" ] || fail "the sound differs from the stream's"
echo "mp4_decode_test: $frames pictures over $ms ms and $soundFrames sound frames decode as muxed"
