#!/bin/bash
# Our fragmented MP4 writer's file through real decoders. ffmpeg makes an
# H.264 stream and an AAC stream; mp4_fragment_check records them with
# skipped positions. ffmpeg must decode the whole file without a word, with
# every picture at its position, the key frames as sync samples, the film's
# length, and a seek to a picture between key frames landing on it. Then the file as it stood after
# each commit, and as a crash inside the writing of a pair would leave it,
# must decode without a word
# up to what was committed (the writer's copies of the file at each flush
# cut inside the pair: what a crash leaves).
# Usage: mp4_fragments_test.sh MP4_FRAGMENT_CHECK
set -eu
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "mp4_fragments_test: $*" >&2; exit 1; }

ffmpeg -v error -f lavfi -i testsrc2=size=160x120:rate=25:duration=4 -pix_fmt yuv420p \
  -c:v libx264 -preset veryfast -g 12 -bf 0 -f h264 v.h264
ffmpeg -v error -f lavfi -i sine=frequency=440:sample_rate=48000:duration=6 -ac 2 \
  -c:a aac -f adts a.aac
"$check" v.h264 a.aac out.mp4 packets.txt commits.txt
read -r frames endPosition soundFrames < <(tail -n 1 commits.txt)

# Neither may read the commit list that the loop below reads from stdin.
errors() { ffmpeg -nostdin -v error -i "$1" -f null - 2>&1; }
count() { ffprobe -v error -select_streams "$2" -count_packets -show_entries stream=nb_read_packets \
  -of csv=p=0 "$1" < /dev/null; }
[ -z "$(errors out.mp4)" ] || fail "ffmpeg decodes with errors: $(errors out.mp4 | head -3)"
[ "$(count out.mp4 v)" = "$frames" ] || fail "$(count out.mp4 v) pictures, not $frames"
[ "$(count out.mp4 a)" = "$soundFrames" ] || fail "$(count out.mp4 a) sound frames, not $soundFrames"
ffprobe -v error -select_streams v -show_entries packet=pts,flags -of csv=p=0 out.mp4 |
  cut -c1-"$(( ${#endPosition} + 2 ))" | sed 's/,\(.\).*/,\1/' > shown.txt
diff -q packets.txt shown.txt >/dev/null || fail "positions or key frames differ: $(diff packets.txt shown.txt | head -4)"
duration=$(ffprobe -v error -select_streams v -show_entries stream=duration -of csv=p=0 out.mp4)
[ "$duration" = "$(printf '%d.%06d' $((endPosition / 25)) $((endPosition % 25 * 40000)))" ] ||
  fail "the video lasts $duration s, not $endPosition positions"

# A seek to a picture between key frames shows that picture.
pick=$(grep -n ',_$' packets.txt | sed -n '30p')
line=${pick%%:*}
position=$(echo "${pick#*:}" | cut -d, -f1)
at=$(printf '%d.%02d' $((position / 25)) $((position % 25 * 4)))
md5() { grep -v '^#' | cut -d, -f6 | tr -d ' '; }
wanted=$(ffmpeg -v error -i out.mp4 -map 0:v -fps_mode passthrough -f framemd5 - | md5 | sed -n "${line}p")
got=$(ffmpeg -v error -ss "$at" -i out.mp4 -map 0:v -frames:v 1 -f framemd5 - | md5)
[ "$got" = "$wanted" ] || fail "a seek to $at s shows another picture"

# The file after each commit, and cut inside the pair that follows it.
previous=0
sed '$d' commits.txt | while read -r flush start end pictures sound; do
  head -c "$end" out.mp4 > committed.mp4
  [ -z "$(errors committed.mp4)" ] || fail "at $end bytes: $(errors committed.mp4 | head -3)"
  [ "$(count committed.mp4 v),$(count committed.mp4 a)" = "$pictures,$sound" ] ||
    fail "at $end bytes: $(count committed.mp4 v),$(count committed.mp4 a), not $pictures,$sound"
  for cut in $((start + 6)) $((start + 100)) $(((start + end) / 2)) $((end - 1)); do
    head -c "$cut" "out.mp4.$flush" > torn.mp4
    # Before the first commit there is nothing to decode, but the file opens.
    if [ "$previous" = 0 ]; then
      ffprobe -v error torn.mp4 < /dev/null || fail "cut at $cut bytes: ffprobe cannot open it"
    else
      [ -z "$(errors torn.mp4)" ] || fail "cut at $cut bytes: $(errors torn.mp4 | head -3)"
      [ "$(count torn.mp4 v)" = "$previous" ] || fail "cut at $cut: $(count torn.mp4 v) pictures, not $previous"
    fi
  done
  previous=$pictures
done
echo "mp4_fragments_test: $frames pictures to position $endPosition, $soundFrames sound frames;" \
  "$(($(wc -l < commits.txt) - 1)) commits, each whole and torn, decode as recorded"
