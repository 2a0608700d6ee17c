#!/bin/bash
# brantle.exe killed in the middle of a full-screen recording with sound,
# KILLS times (10 unless told), each after a random time of 3 to 12 s
# (seeded; the seed is printed, give it back to repeat a run), while a tone
# plays into the null sink and moving_picture.exe changes the screen.
# CONTAINER is avi (the default compressor) or mp4 (the catalogue's H.264
# entry). The file of each killed recording must be readable as it is, with
# no repair:
#   - ffprobe opens it without a word on stderr, ffmpeg decodes both streams
#     without an error (AVI: a last chunk that the kill cut short may fail
#     to decode: then the file cut before it must decode cleanly);
#   - its picture lasts at least all but the last 1.5 s before the kill:
#     the writers commit twice a second (AVI: the positions of its index,
#     avi_committed.py; MP4: the fragments' packets);
#   - its sound lasts as long as its picture, within 0.25 s, and its last
#     second is the tone;
#   - AVI: the stream headers claim no more than the index holds;
#     MP4: mpv plays it to its end.
# Usage: kill_test.sh APP_PROBE.exe BRANTLE.exe MOVING_PICTURE.exe WORK_DIR CONTAINER [KILLS [SEED]]
set -u
APP_PROBE=$1
BRANTLE=$2
moving=$3
work=$4
container=$5
kills=${6:-10}
seed=${7:-$(date +%s)}
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
commit_slack=1.5   # seconds before the kill that the file may lack
rm -rf "$work"
mkdir -p "$work"
film="$work/killed.$container"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_dword RecordAudio 1
set_dword "Audio Format" 15  # 44100 Hz, 16-bit stereo
set_container "$container"
set_string SavePath "$(winepath -w "$work/killed.avi")"

play_tone 600

start_helper "$moving" "$moving_title" "$work/moving.log"
probe wait-window "$moving_title" 20000 || fail "moving_picture did not start"

echo "seed $seed"
RANDOM=$seed

# Usage: check_decode FILE LABEL; ffmpeg's errors on both streams, if any,
# may only come from a last chunk cut short by the kill.
check_decode() {
  local errors torn end
  errors=$(ffmpeg -v error -i "$1" -map 0 -f null - 2>&1)
  [ -z "$errors" ] && return 0
  torn=$(sed -n 's/^tail .* torn=//p' <<<"$report")
  end=$(sed -n 's/^tail .* end=\([0-9]*\) .*/\1/p' <<<"$report")
  [ "${torn:-0}" -gt 0 ] || fail "$2: ffmpeg decode errors, and no chunk was cut short: $errors"
  head -c "$end" "$1" >"$work/whole.avi"
  local clean
  clean=$(ffmpeg -v error -i "$work/whole.avi" -map 0 -f null - 2>&1)
  [ -z "$clean" ] || fail "$2: decode errors also before the cut-short chunk: $clean"
  echo "$2: ffmpeg's errors come from the last chunk, cut short by the kill ($torn bytes): $errors"
}

# Usage: value KEY LINE_START; a field of avi_committed.py's report.
value() {
  sed -n "s/^$2 .*$1=\([0-9.]*\).*/\1/p" <<<"$report"
}

# Usage: check_avi FILE LABEL; the index against the headers and the
# decoder. Sets video_seconds and audio_seconds from the index.
check_avi() {
  local positions video_length samples audio_length
  report=$(python3 "$here/avi_committed.py" "$1") || fail "$2: $report"
  check_decode "$1" "$2"
  positions=$(value positions video)
  video_length=$(value length video)
  video_seconds=$(value seconds video)
  samples=$(value samples audio)
  audio_length=$(value length audio)
  audio_seconds=$(value seconds audio)
  [ -n "$positions" ] && [ -n "$samples" ] || fail "$2: not a video and a sound stream: $report"
  echo "$2: positions indexed $positions, headers: $video_length positions," \
    "$audio_length samples; $(grep '^tail' <<<"$report")"
  [ "$video_length" -le "$positions" ] \
    || fail "$2: the header claims $video_length positions, the index holds $positions"
  [ "$audio_length" -le "$samples" ] \
    || fail "$2: the header claims $audio_length sample frames, the index holds $samples"
}

# Usage: check_mp4 FILE LABEL; the decoder and a player on the fragments
# written. Sets video_seconds and audio_seconds from the packets.
check_mp4() {
  local errors
  errors=$(ffmpeg -v error -i "$1" -map 0 -f null - 2>&1)
  [ -z "$errors" ] || fail "$2: ffmpeg decode errors: $errors"
  video_seconds=$(stream_seconds "$1" v)
  audio_seconds=$(stream_seconds "$1" a)
  [ -n "$video_seconds" ] && [ -n "$audio_seconds" ] || fail "$2: not a video and a sound stream"
  plays_through_mpv "$1"
}

for ((round = 1; round <= kills; round++)); do
  label="kill $round"
  wait_ms=$((3000 + (RANDOM * 32768 + RANDOM) % 9001))
  rm -f "$film"
  start_app "$work/app$round.log"
  probe wait-window "$TITLE" 20000 || fail "$label: the main window did not appear"
  probe wait-visible "$TITLE" yes 5000 || fail "$label: the main window is not shown"
  pids=$(app_pids)
  [ "$(wc -w <<<"$pids")" = 1 ] || fail "$label: brantle.exe processes: '$pids', expected one"

  desktop_key ctrl+b
  probe wait-status "$TITLE" 1 Recording 10000 || fail "$label: Ctrl+B did not start a recording"
  started=$(now)
  # The recording's own length, from the moment it showed.
  sleep "$(awk -v s="$started" -v n="$(now)" -v w="$wait_ms" \
    'BEGIN { d = w / 1000 - (n - s); print (d > 0 ? d : 0) }')"
  killed=$(now)
  kill -KILL "$pids" || fail "$label: cannot kill brantle.exe ($pids)"
  wait_app_pids "" 10 || fail "$label: brantle.exe still runs after SIGKILL"
  # Its launcher (Wine's explorer) lingers for some seconds after the kill
  # and then ends by itself; finish_app waits for it.
  recorded=$(awk -v s="$started" -v k="$killed" 'BEGIN { printf "%.2f", k - s }')

  [ -s "$film" ] || fail "$label: no file after $recorded s"
  errors=$(ffprobe -v error -show_entries stream=codec_type -of compact "$film" 2>&1 >/dev/null)
  [ -z "$errors" ] || fail "$label: ffprobe: $errors"
  "check_$container" "$film" "$label"
  echo "$label: seed $seed, waited $wait_ms ms, recorded $recorded s; video $video_seconds s," \
    "audio $audio_seconds s"

  awk -v v="$video_seconds" -v r="$recorded" -v s="$commit_slack" 'BEGIN { exit !(v >= r - s) }' \
    || fail "$label: the picture lasts $video_seconds s after $recorded s of recording"
  within 0.25 "$audio_seconds" "$video_seconds" \
    || fail "$label: the sound lasts $audio_seconds s, the picture $video_seconds s"
  ffmpeg -v error -y -i "$film" -vn -ac 1 "$work/sound.wav" || fail "$label: no sound to extract"
  pitch=$(sox "$work/sound.wav" -n trim -1 stat 2>&1 | sed -n 's/^Rough   frequency: *//p')
  awk -v f="$pitch" 'BEGIN { exit !(f >= 970 && f <= 1030) }' \
    || fail "$label: the last second of sound is not the tone: '$pitch' Hz"
done
echo "$kills recordings killed; every file readable as left"
