#!/bin/bash
# Writes a recording larger than MIN_BYTES (default 5.2 GB: five RIFF parts,
# past the 4 GiB that 32-bit offsets reach) with big_recording.exe and
# checks it: the RIFF parts walked by their headers; the index followed to
# every chunk; then as players read it: the video stream's length and
# packet count and the sound's length through ffprobe; the last frame and
# the middle one, decoded by ffmpeg, each show its own number and picture;
# the sound of the last second runs without a gap up to the last sample
# frame written; mpv plays the last second to the end. The file is deleted
# at the end, whatever happened. Given the converter, its film of the
# recording has every frame, the whole length and the sound.
# Skipped (exit 77) when the disk has less than 2.5 times MIN_BYTES free.
# Usage: big_recording_test.sh BIG_RECORDING.exe WORK_DIR [MIN_BYTES [AVI2MPG.exe]]
set -u -o pipefail
program=$1
work=$2
min_bytes=${3:-5200000000}
converter=${4:-}
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
here=$(dirname "$0")

width=1280 height=720 rate=10
part_bytes=$((1 << 30))
skip=77

free=$(df --output=avail -B1 "$work" | tail -n1)
if [ "$free" -lt $((min_bytes * 5 / 2)) ]; then
  echo "SKIP: $free bytes free in $work, less than 2.5 x $min_bytes"
  exit $skip
fi

avi="$work/big.avi"
recorder=""
# Also when interrupted: the recording is stopped first, so that nothing
# writes the file again after it is deleted.
clean_up() {
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null && wait "$recorder"
  rm -f "$avi" "${avi%.avi}.mp4" "$work"/*.raw "$work"/*.pcm
}
trap clean_up EXIT
trap 'exit 130' INT TERM
started=$SECONDS
lap() {
  echo "[$((SECONDS - started)) s] $*"
}

# A value big_recording.exe printed: "NAME VALUE" (a Windows line end).
recorded() {
  tr -d '\r' <"$work/record.log" | sed -n "s/^$1 //p"
}

# A field of a line of ffprobe's compact output.
field() {
  grep -o "|$2=[^|]*" <<<"$1" | cut -d= -f2
}

record() {
  # In the background, so that a signal is handled at once.
  wine "$program" record "$(winepath -w "$avi")" "$min_bytes" $width $height >"$work/record.log" &
  recorder=$!
  wait $recorder || fail "recording failed: $(cat "$work/record.log")"
  recorder=""
  cat "$work/record.log"
  frames=$(recorded frames)
  samples=$(recorded "audio samples")
  size=$(stat -c %s "$avi")
  lap "wrote $size bytes"
  [ "$size" -gt "$min_bytes" ] || fail "the file ends at $size bytes"
  [ "$(recorded positions)" = "$frames" ] \
    || fail "the writer counted $(recorded positions) positions"
}

check_parts() {
  python3 "$here/riff_parts.py" "$avi" $part_bytes >"$work/parts.log" \
    || fail "$(cat "$work/parts.log")"
  cat "$work/parts.log"
  local parts
  parts=$(sed -n 's/^parts //p' "$work/parts.log")
  [ "$parts" = "$(recorded parts)" ] \
    || fail "the writer counted $(recorded parts) parts, not $parts"
  [ "$parts" -ge $(((size + part_bytes - 1) / part_bytes)) ] || fail "$parts parts for $size bytes"
}

# The index as a seeking reader follows it: every chunk written, and no other.
check_index() {
  python3 "$here/avi_index.py" "$avi" >"$work/index.log" || fail "$(cat "$work/index.log")"
  cat "$work/index.log"
  grep -qx "00dc: $frames chunks, $((frames * $(recorded "frame bytes"))) bytes, duration $frames" \
    "$work/index.log" || fail "the video's index does not list the $frames frames"
  grep -qx "01wb: $(recorded "audio blocks") chunks, $((samples * 4)) bytes, duration $samples" \
    "$work/index.log" || fail "the sound's index does not list the $samples sample frames"
}

# One pass over the file: the header's lengths (nb_frames), the packets
# read, and the sound's bytes summed from its packets.
check_streams() {
  local entries probe video audio duration sound_bytes
  entries=stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels,duration
  entries=$entries,nb_frames,nb_read_packets:packet=stream_index,size
  probe=$(ffprobe -v error -count_packets -show_entries $entries -of compact "$avi") \
    || fail "ffprobe failed"
  video=$(grep '^stream|.*codec_type=video' <<<"$probe")
  audio=$(grep '^stream|.*codec_type=audio' <<<"$probe")
  echo "$video"
  echo "$audio"
  [ "$(grep -c '^stream|' <<<"$probe")" = 2 ] || fail "expected two streams"
  [ "$(field "$video" codec_name)" = rawvideo ] || fail "video is not uncompressed"
  [ "$(field "$video" width)x$(field "$video" height)" = ${width}x$height ] || fail "wrong size"
  [ "$(field "$video" r_frame_rate)" = $rate/1 ] || fail "not $rate frames per second"
  [ "$(field "$video" nb_read_packets)" = "$frames" ] || fail "video packets are not $frames"
  [ "$(field "$video" nb_frames)" = "$frames" ] || fail "the header's video length is not $frames"
  duration=$(field "$video" duration)
  within 0.1 "$duration" "$(awk -v f="$frames" -v r=$rate 'BEGIN { print f / r }')" \
    || fail "the video lasts $duration s for $frames frames"

  [ "$(field "$audio" codec_name)" = pcm_s16le ] || fail "sound is not 16-bit PCM"
  [ "$(field "$audio" sample_rate)/$(field "$audio" channels)" = 44100/2 ] \
    || fail "not 44100 Hz stereo"
  [ "$(field "$audio" nb_frames)" = "$samples" ] || fail "the header's sound length is not $samples"
  sound_bytes=$(awk -F'|' '/^packet\|stream_index=1\|/ { sub("size=", "", $3); n += $3 }
                           END { printf "%d", n }' <<<"$probe")
  [ "$sound_bytes" = $((samples * 4)) ] || fail "the sound packets hold $sound_bytes bytes"
  # It ends with the last whole block of 1/8 s before the video's end.
  within 0.125 "$(awk -v s="$samples" 'BEGIN { print s / 44100 }')" "$duration" \
    || fail "$samples sample frames for $duration s of video"
}

# Decodes with ffmpeg, with input options $2 and output options $3, and
# keeps the last frame decoded; big_recording.exe must read number $1 in it
# and find the whole picture that frame's.
check_frame() {
  local expected=$1 input=$2 output=$3 shown how
  how="decoded with $input${output:+ $output}"
  # shellcheck disable=SC2086  # the options are words
  ffmpeg -v error -y $input -i "$avi" -map 0:v $output -f rawvideo -pix_fmt bgr24 \
    "$work/decoded.raw" || fail "ffmpeg failed: $how"
  tail -c $((width * height * 3)) "$work/decoded.raw" >"$work/frame.raw"
  shown=$(wine "$program" check "$(winepath -w "$work/frame.raw")" $width $height | tr -d '\r') \
    || fail "$how: $shown"
  [ "$shown" = "frame $expected" ] || fail "$how: $shown, not frame $expected"
  echo "$how: $shown"
}

# The last second of sound: left channel counting up by one per sample
# frame, the right its complement, up to the last sample frame written.
check_sound_tail() {
  ffmpeg -v error -y -sseof -1 -i "$avi" -map 0:a -f s16le "$work/tail.pcm" \
    || fail "ffmpeg could not decode the sound's end"
  od -An -td2 -w4 -v "$work/tail.pcm" | awk -v last=$(((samples - 1) & 0xFFFF)) -v min=5512 '
    { left = ($1 + 65536) % 65536 }
    $2 != -$1 - 1 { print "sample frame " NR ": the right channel is " $2 " beside " $1; exit 1 }
    NR > 1 && left != (prev + 1) % 65536 { print "a gap before sample frame " NR; exit 1 }
    { prev = left }
    END { if (NR < min || prev != last) { print NR " sample frames ending at " prev; exit 1 }
          print "the last " NR " sample frames run on to " prev }' >"$work/tail.log" \
    || fail "sound: $(cat "$work/tail.log")"
  cat "$work/tail.log"
}

# mpv from a second before the end: no error, the whole length seen, and
# played to the end of the file.
check_mpv() {
  local log=$work/mpv.log expected duration started_at reached
  expected=$(awk -v f="$frames" -v r=$rate 'BEGIN { print f / r }')
  # shellcheck disable=SC2016  # mpv's properties, not the shell's
  mpv --no-config --vo=null --ao=null --start=-1 \
    --term-playing-msg='playing duration=${=duration} start=${=time-pos}' \
    --term-status-msg='status pos=${=time-pos}' "$avi" 2>&1 | tr '\r' '\n' >"$log" \
    || fail "mpv failed: $(cat "$log")"
  ! grep -iE 'error|invalid|corrupt|fail' "$log" || fail "mpv complained"
  grep -q '^Exiting... (End of file)' "$log" || fail "mpv did not play to the end: $(cat "$log")"
  duration=$(sed -n 's/^playing duration=\([0-9.]*\).*/\1/p' "$log")
  started_at=$(sed -n 's/^playing .* start=//p' "$log")
  within 0.1 "$duration" "$expected" || fail "mpv sees $duration s, not $expected"
  reached=$(sed -n 's/^.*status pos=\([0-9.]*\).*/\1/p' "$log" | tail -n1)
  within 1.05 "$started_at" "$expected" || fail "mpv started at $started_at s of $expected"
  within 0.5 "$reached" "$expected" || fail "mpv stopped at $reached s of $expected"
  echo "mpv played from $started_at s to $reached s of $duration s"
}

# The converter makes the whole film of it, every RIFF part: as many frames,
# as long, with its sound.
check_conversion() {
  [ -n "$converter" ] || return 0
  wine "$converter" /q "$(winepath -w "$avi")" || fail "the converter failed on $size bytes"
  local film=${avi%.avi}.mp4 probe video
  probe=$(ffprobe -v error -show_entries stream=codec_name,nb_frames,duration -of compact "$film")
  rm -f "$film"
  echo "$probe"
  video=$(grep 'codec_name=h264' <<<"$probe")
  [ "$(field "$video" nb_frames)" = "$frames" ] || fail "the film has not $frames frames"
  within 0.1 "$(field "$video" duration)" \
    "$(awk -v f="$frames" -v r=$rate 'BEGIN { print f / r }')" || fail "the film's length"
  grep -q "codec_name=aac" <<<"$probe" || fail "the film has no sound"
}

main_steps() {
  record
  check_parts
  lap "walked the parts"
  check_index
  lap "followed the index"
  check_streams
  lap "probed the streams"
  check_frame $((frames - 1)) "-sseof -1" ""
  local middle=$((frames / 2))
  check_frame $middle "-ss $(awk -v f=$middle -v r=$rate 'BEGIN { print f / r }')" "-frames:v 1"
  lap "decoded the last frame and the middle one"
  check_sound_tail
  lap "decoded the last second of sound"
  check_mpv
  lap "played the end with mpv"
  check_conversion
  lap "converted"
}
main_steps
