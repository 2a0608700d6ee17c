#!/bin/bash
# avi2mpg.exe on the recorder's files, judged by ffprobe, ffmpeg, mpv and
# headless chromium:
#   - ZMBV recordings of a pattern that flashes white with a 1 kHz cue in the
#     same instant, with sound in the default format (8 kHz 8-bit mono) and
#     in 44.1 kHz 16-bit stereo, become H.264 (High, yuv420p, BT.709) and AAC
#     in an MP4 whose 'moov' comes before its 'mdat', as long as the
#     recording to within a frame, decoded without an error, played through
#     by mpv and by chromium to its end, each cue still heard with its flash;
#   - the flat colours of a desktop come back within 2 levels;
#   - a Video 1 recording converts too, and a recording cut short as a crash
#     leaves it converts up to its last whole frame;
#   - a click in the sound comes out at its sample, at 48 and 44.1 kHz;
#   - bad input (not an AVI, no video stream, a codec that is not installed,
#     a header cut short, an output folder that does not exist) fails with a
#     non-zero status and leaves no film and no unfinished file.
# Usage: converter_test.sh PATTERN_RECORDER.exe WIN_VIDEO1_TESTS.exe AVI2MPG.exe WORK_DIR
set -u
recorder=$1
video1_tests=$2
converter=$3
work=$4
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
rm -rf "$work"
mkdir -p "$work"

win() { winepath -w "$1"; }
# Usage: convert IN.avi [OUT.mp4]: the converter without a window.
convert() {
  if [ $# = 2 ]; then
    wine "$converter" /q "$(win "$1")" "$(win "$2")"
  else
    wine "$converter" /q "$(win "$1")"
  fi
}
probe_entries() {  # FILE STREAM ENTRIES
  ffprobe -v error -select_streams "$2" -show_entries "stream=$3" -of default=nw=1 "$1" | tr -d '\r'
}
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }

# --- recordings with flashes and cues, converted -------------------------------------------
cue_ms=60
sox -n -r 44100 -c 1 -b 16 "$work/cue.wav" synth 0.060 sine 1000 || fail "sox"
cue=$(win "$work/cue.wav")
latency=$(wine "$recorder" latency "$cue" | tr -d '\r') || fail "no sound came back to measure the latency"
wine "$recorder" record "$(win "$work/flash.avi")" 8 --audio 0,15 --flash 700 --cue "$cue" \
  || fail "recording failed"
for candidate in 0 15; do
  avi="$work/flash-$candidate.avi"
  mp4="$work/flash-$candidate.mp4"
  convert "$avi" || fail "converting $avi failed"
  [ -s "$mp4" ] && [ ! -e "$mp4.part" ] || fail "$mp4: $(ls "$work")"
  video=$(probe_entries "$mp4" v codec_name,profile,pix_fmt,color_space,color_primaries,color_transfer,width,height)
  for want in codec_name=h264 profile=High pix_fmt=yuv420p color_space=bt709 color_primaries=bt709 \
    color_transfer=bt709 width=320 height=240; do
    grep -qx "$want" <<<"$video" || fail "$mp4: no $want in: $(tr '\n' ' ' <<<"$video")"
  done
  [ "$(probe_entries "$mp4" a codec_name)" = codec_name=aac ] || fail "$mp4: the sound is not AAC"
  within 0.1 "$(duration "$avi")" "$(duration "$mp4")" \
    || fail "$mp4 lasts $(duration "$mp4") s, the recording $(duration "$avi") s"
  errors=$(ffmpeg -v error -i "$mp4" -f null - 2>&1)
  [ -z "$errors" ] || fail "ffmpeg: $errors"
  plays_through_mpv "$mp4"
  python3 "$here/film_checks.py" boxes "$mp4" || fail "$mp4 cannot play while it downloads"
  python3 "$here/flash_sync.py" "$mp4" "$latency" "$cue_ms" || fail "$mp4 is not what was seen and heard"
done
shown=$("$here/browser_play.sh" "$work/flash-15.mp4" 40) || fail "chromium did not play the film: $shown"
echo "chromium: $shown"
[[ "$shown" == "size 320x240 duration "* ]] || fail "chromium saw: $shown"

# --- flat colours: a ZMBV film of the colours of a desktop, in blocks -------------------------
boxes=""
x=0
for colour in 0xD4D0C8 0x0A246A 0x3A6EA5 0xFFFFFF 0x000000 0xFFFFE1 0x808080 0x316AC5; do
  boxes+=",drawbox=x=$x:y=0:w=40:h=120:c=$colour:t=fill,drawbox=x=$((280 - x)):y=120:w=40:h=120:c=$colour:t=fill"
  x=$((x + 40))
done
ffmpeg -v error -y -f lavfi -i "color=c=0x6B8E23:s=320x240:r=10:d=1$boxes" -c:v zmbv -pix_fmt bgr0 \
  "$work/colours.avi" || fail "ffmpeg could not make the colour film"
convert "$work/colours.avi" || fail "converting the colour film failed"
for f in avi mp4; do
  ffmpeg -v error -y -i "$work/colours.$f" -frames:v 2 -f rawvideo -pix_fmt rgb24 "$work/frames.$f" \
    || fail "decoding colours.$f"
done
python3 "$here/film_checks.py" flat "$work/frames.avi" "$work/frames.mp4" 320 240 || fail "colours"

# --- Video 1, and a recording cut short ------------------------------------------------------
BRANTLE_VIDEO1_AVI=$(win "$work/video1.avi") wine "$video1_tests" \
  --gtest_filter='*WritesAnAviThatThePlatformDecoderReadsBack' >/dev/null || fail "no Video 1 file"
convert "$work/video1.avi" || fail "converting the Video 1 recording failed"
frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames \
  -of csv=p=0 "$work/video1.mp4")
[ "$frames" = 20 ] || fail "the Video 1 film has $frames frames, not 20"

# Cut inside the 41st stored frame, as a crash leaves a file: the film ends
# where that frame would have started.
read -r pos at < <(ffprobe -v error -select_streams v -show_entries packet=pos,pts_time -of csv=p=0 \
  "$work/flash-0.avi" | awk -F, 'NR == 41 { print $2, $1 }')
head -c $((pos + 20)) "$work/flash-0.avi" >"$work/cut.avi"
convert "$work/cut.avi" || fail "converting a recording cut short failed"
errors=$(ffmpeg -v error -i "$work/cut.mp4" -f null - 2>&1)
[ -z "$errors" ] || fail "the cut recording's film: $errors"
cut_length=$(ffprobe -v error -select_streams v -show_entries stream=duration -of csv=p=0 "$work/cut.mp4")
within 0.01 "$cut_length" "$at" \
  || fail "the cut recording's film lasts $cut_length s, its whole frames $at s"

# --- a click's place in the sound -----------------------------------------------------------------
# One sample of sound at 0.1 s, at both AAC rates: as a player decodes the
# film, it is still there (the encoder's priming left out, its tail kept).
for rate in 48000 44100; do
  ffmpeg -v error -y -f lavfi -i color=black:s=64x48:r=10:d=2 \
    -f lavfi -i "aevalsrc='if(eq(n\,$((rate / 10)))\,0.9\,0)':s=$rate:d=2" \
    -c:v rawvideo -pix_fmt bgr24 -c:a pcm_s16le "$work/click$rate.avi" || fail "no click recording"
  convert "$work/click$rate.avi" || fail "converting the click at $rate Hz failed"
  peak=$(ffmpeg -v error -i "$work/click$rate.mp4" -f s16le -ac 1 - | python3 -c '
import sys, array
a = array.array("h", sys.stdin.buffer.read())
print(max(range(len(a)), key=lambda i: abs(a[i])), len(a))')
  read -r at count <<<"$peak"
  [ "$((at - rate / 10))" -ge -2 ] && [ "$((at - rate / 10))" -le 2 ] \
    || fail "at $rate Hz the click comes at sample $at, not $((rate / 10))"
  [ "$count" -ge $((rate * 2)) ] || fail "at $rate Hz the film has $count samples of 2 s of sound"
done

# --- bad input ----------------------------------------------------------------------------------
echo "not a film" >"$work/text.avi"
ffmpeg -v error -y -f lavfi -i sine=d=1 -c:a pcm_s16le "$work/sound_only.avi"
ffmpeg -v error -y -f lavfi -i testsrc=d=1:s=160x120 -c:v mpeg4 -vtag XVID "$work/other_codec.avi"
head -c 300 "$work/flash-0.avi" >"$work/header_cut.avi"
for bad in text sound_only other_codec header_cut; do
  convert "$work/$bad.avi" && fail "$bad.avi converted"
  [ ! -e "$work/$bad.mp4" ] && [ ! -e "$work/$bad.mp4.part" ] || fail "$bad.avi left a file"
done
convert "$work/video1.avi" "$work/no such folder/film.mp4" && fail "an output that cannot be made converted"
[ ! -e "$work/no such folder" ] || fail "the missing folder was made"
echo "recordings converted, played and judged; bad input refused"
