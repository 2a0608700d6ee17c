#!/bin/bash
# brantle.exe records with sound at 44100 Hz, 16-bit stereo, then, in the
# same run, the format is switched in Audio Options to 8000 Hz, 8-bit mono
# and it records again, while a 1 kHz tone plays into the null sink. Each
# file's sound must be as long as its film (within 0.1 s), in the format
# chosen, and the tone.
# Usage: app_audio_format_switch_test.sh APP_PROBE.exe BRANTLE.exe WORK_DIR
set -u
APP_PROBE=$1
BRANTLE=$2
work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"
IDC_AUDIO_FORMATS=1019
ID_OPTIONS_AUDIO=32772

rm -rf "$work"
mkdir -p "$work"
avi="$work/screen.avi"
reset_settings
set_dword RegionType 2
set_dword RecordAudio 1
set_dword "Audio Format" 15
set_string SavePath "$(winepath -w "$avi")"
sox -n -r 44100 -c 2 "$work/tone.wav" synth 120 sine 1000 || fail "sox"
paplay -d null "$work/tone.wav" &
player=$!
trap 'kill $player 2>/dev/null; finish_app' EXIT

start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"

# Records until the status bar counts FRAMES frames, and stops.
record() {
  desktop_key ctrl+b
  probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start a recording"
  wait_frames_above "$1" 60 || fail "the recording did not reach $1 frames"
  desktop_key ctrl+e
  probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
}

# Usage: check FILE RATE,CHANNELS,BITS
check() {
  local format video audio pitch
  format=$(ffprobe -v error -select_streams a -show_entries stream=sample_rate,channels,bits_per_sample \
    -of csv=p=0 "$1")
  video=$(ffprobe -v error -select_streams v -show_entries stream=duration -of csv=p=0 "$1")
  ffmpeg -v error -y -i "$1" -vn -ac 1 "$work/sound.wav" || fail "no sound in $1"
  audio=$(soxi -D "$work/sound.wav")
  pitch=$(sox "$work/sound.wav" -n stat 2>&1 | sed -n 's/^Rough   frequency: *//p')
  echo "$(basename "$1"): $(stat -c %s "$1") bytes, film $video s, sound $audio s ($format), $pitch Hz"
  [ "$format" = "$2" ] || fail "the sound is $format, not $2"
  within 0.1 "$video" "$audio" || fail "the sound lasts $audio s, the film $video s"
  awk -v f="$pitch" 'BEGIN { exit !(f >= 950 && f <= 1050) }' || fail "the tone is at $pitch Hz"
}

record 40
mv "$avi" "$work/first.avi" || fail "no first file"
check "$work/first.avi" 44100,2,16

probe command "$TITLE" $ID_OPTIONS_AUDIO || fail "cannot open Audio Options"
probe wait-dialog "Audio Options" 10000 || fail "Audio Options did not open"
probe select-item "Audio Options" $IDC_AUDIO_FORMATS "8000 Hz, 8-bit Mono" || fail "no such format"
probe click-button "Audio Options" 1 || fail "cannot press OK"
probe wait-gone "Audio Options" 10000 || fail "Audio Options stayed open"

record 80
check "$avi" 8000,1,8
