#!/bin/bash
# brantle.exe with a new user's compressor records the full screen with
# sound straight to MP4 (the catalogue's first entry, H.264) while moving_picture.exe changes the screen and a
# 1 kHz tone plays into the null sink. The output file is set as .avi; the
# recording must be an .mp4 beside it, and:
#   - ffprobe sees H.264 of the whole 1024 x 768 screen and AAC sound;
#     ffmpeg decodes both without an error;
#   - the picture lasts as long as the recording ran (the status bar's
#     frames at the interval), the sound as long as the picture within a
#     frame, and the sound's last second is the tone;
#   - a seek into the middle lands at the key frame before it, mpv plays it
#     through, and headless chromium plays it to its end.
# Usage: app_mp4_recording_test.sh APP_PROBE.exe BRANTLE.exe MOVING_PICTURE.exe WORK_DIR
set -u
APP_PROBE=$1
BRANTLE=$2
moving=$3
work=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"

finish() {
  finish_app
  stop_tone
}
trap finish EXIT

moving_title="Moving Picture"
rm -rf "$work"
mkdir -p "$work"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_dword RecordAudio 1
set_dword "Audio Format" 15  # 44100 Hz, 16-bit stereo
set_container new-user  # a new user records MP4
set_string SavePath "$(winepath -w "$work/screen.avi")"
mp4="$work/screen.mp4"

play_tone 120

start_helper "$moving" "$moving_title" "$work/moving.log"
probe wait-window "$moving_title" 20000 || fail "moving_picture did not start"
start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start a recording"
wait_frames_above 60 30 || fail "the recording did not reach 60 frames"
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
frames=$(frames_shown)

[ -s "$mp4" ] || fail "no file at $mp4"
[ ! -e "$work/screen.avi" ] || fail "an AVI file was written too"
info=$(ffprobe -v error -of default=nw=1 \
  -show_entries stream=codec_type,codec_name,width,height,duration "$mp4")
echo "$info"
grep -qx 'codec_name=h264' <<<"$info" || fail "no H.264 video"
grep -qx 'codec_name=aac' <<<"$info" || fail "no AAC sound"
grep -qx 'width=1024' <<<"$info" && grep -qx 'height=768' <<<"$info" || fail "not the whole screen"
errors=$(ffmpeg -v error -i "$mp4" -map 0 -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg decode errors: $errors"

read -r video audio < <(python3 - "$mp4" <<'PY'
import json, subprocess, sys
out = subprocess.run(["ffprobe", "-v", "error", "-of", "json", "-show_streams", sys.argv[1]],
                     capture_output=True, text=True, check=True).stdout
times = {s["codec_type"]: float(s["duration"]) for s in json.loads(out)["streams"]}
print(times["video"], times["audio"])
PY
)
echo "status bar $frames frames; video $video s, audio $audio s"
# The status bar counts the file's positions at 10 a second.
within 0.15 "$video" "$(awk -v f="$frames" 'BEGIN { print f / 10 }')" \
  || fail "the picture lasts $video s for $frames frames"
within 0.1 "$video" "$audio" || fail "the sound lasts $audio s, the picture $video s"
level=$(ffmpeg -v info -sseof -1 -i "$mp4" -vn -af volumedetect -f null - 2>&1 \
  | sed -n 's/.*mean_volume: \(-*[0-9.]*\) dB/\1/p')
awk -v l="${level:--99}" 'BEGIN { exit !(l > -30) }' || fail "the last second is silent ($level dB)"

# A seek to the middle starts at a key frame before it, at most 10 s before
# (the encoder's longest key-frame spacing).
middle=$(awk -v v="$video" 'BEGIN { printf "%.1f", v / 2 }')
landed=$(ffprobe -v error -select_streams v -read_intervals "$middle%+#1" \
  -show_entries frame=best_effort_timestamp_time -of csv=p=0 "$mp4" | head -n1)
awk -v l="${landed:-x}" -v m="$middle" 'BEGIN { exit !(l != "x" && l <= m + 0.05 && l >= m - 10) }' \
  || fail "a seek to $middle s landed at ${landed:-nothing}"

plays_through_mpv "$mp4"
played=$(bash "$here/browser_play.sh" "$mp4" 60) || fail "chromium did not play it: $played"
echo "chromium: $played"
echo "MP4 recording: $frames frames, video $video s, audio $audio s, tone at $level dB," \
  "a seek to $middle s at $landed s"
