#!/bin/bash
# brantle.exe records the full screen with sound onto a small tmpfs mapped
# as drive F: until the disk is full, as CONTAINER: avi (the default
# compressor) or mp4 (the catalogue's H.264 entry):
#   - the recording stops by itself and one box tells so: caption "Error",
#     "Error writing AVI file", the file's path and the system's reason;
#     once it is answered the status bar reads "Recording stopped";
#   - ffprobe opens the file left on the full disk and ffmpeg decodes every
#     packet without an error;
#   - AVI: the file tells the truth: its RIFF parts end at the file's end,
#     every indexed chunk is there with its size and id, each stream
#     header's length is what its index holds, and only the chunk that did
#     not fit is missing; the converter, given, cannot make a film of it on
#     that disk and leaves no file there;
#   - MP4: its picture and sound last no longer than the recording ran;
#   - then a recording into a file on a normal disk, started with Ctrl+B
#     and stopped with Ctrl+E, is whole and plays: a failure leaves the
#     program able to record.
# A screenshot of the box is left in WORK_DIR/error_box.png.
# Needs root for the mount: skipped (exit 77) without it.
# Usage: full_disk_test.sh APP_PROBE.exe BRANTLE.exe MOVING_PICTURE.exe WORK_DIR CONTAINER [DISK_KB [AVI2MPG.exe]]
set -u -o pipefail
APP_PROBE=$1
BRANTLE=$2
moving=$3
work=$4
container=$5
# Room for an AVI's header and its reserved index (about 200 KB) and a few
# seconds of the screen and the sound.
disk_kb=${6:-2048}
converter=${7:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"

skip=77
ID_FILE_ENTER_NAME=32798
moving_title="Moving Picture"
part_bytes=$((1 << 30))
disk="$work/disk"
drive="$WINEPREFIX/dosdevices/f:"

if [ "$(id -u)" != 0 ]; then
  echo "SKIP: mounting a tmpfs needs root"
  exit $skip
fi
# A mount left by an interrupted run goes first.
mountpoint -q "$disk" 2>/dev/null && umount "$disk"
rm -rf "$work"
mkdir -p "$disk"
if ! mount -t tmpfs -o "size=${disk_kb}k" tmpfs "$disk"; then
  echo "SKIP: cannot mount a tmpfs on $disk"
  exit $skip
fi

finish() {
  finish_app
  stop_tone
  rm -f "$drive"
  # Lazily if Wine still holds the file open: the mount goes in any case.
  umount "$disk" 2>/dev/null || umount -l "$disk"
}
trap finish EXIT
ln -sfn "$disk" "$drive" || fail "cannot map $disk as drive F:"

film="$disk/clip.$container"
film_windows="f:\\clip.$container"
again="$work/again.$container"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_dword RecordAudio 1
set_dword "Audio Format" 15  # 44100 Hz, 16-bit stereo: the disk fills sooner
set_container "$container"
set_string SavePath 'f:\clip.avi'

play_tone 300

start_helper "$moving" "$moving_title" "$work/moving.log"
probe wait-window "$moving_title" 20000 || fail "moving_picture did not start"

# Usage: check_players FILE WHAT; ffprobe and ffmpeg read every packet
# without an error.
check_players() {
  local errors
  errors=$(ffprobe -v error -show_entries stream=codec_type -of compact "$1" 2>&1 >/dev/null)
  [ -z "$errors" ] || fail "$2: ffprobe: $errors"
  errors=$(ffmpeg -v error -i "$1" -map 0 -f null - 2>&1)
  [ -z "$errors" ] || fail "$2: ffmpeg decode errors: $errors"
}

# Usage: check_avi FILE WHAT; the header against the index and the chunks,
# and the players' view. Sets positions and the report.
check_avi() {
  local parts counts packets frames empty
  parts=$(python3 "$here/riff_parts.py" "$1" $part_bytes) || fail "$2: $parts"
  report=$(python3 "$here/avi_committed.py" "$1") || fail "$2: $report"
  echo "$parts"
  echo "$report"
  positions=$(sed -n 's/^video positions=\([0-9]*\) .*/\1/p' <<<"$report")
  local video_length samples audio_length
  video_length=$(sed -n 's/^video .* length=\([0-9]*\) .*/\1/p' <<<"$report")
  samples=$(sed -n 's/^audio samples=\([0-9]*\) .*/\1/p' <<<"$report")
  audio_length=$(sed -n 's/^audio .* length=\([0-9]*\) .*/\1/p' <<<"$report")
  [ -n "$positions" ] && [ -n "$samples" ] || fail "$2: not a video and a sound stream"
  [ "$positions" -gt 0 ] || fail "$2: no video in the index"
  [ "$video_length" = "$positions" ] \
    || fail "$2: the header claims $video_length positions, the index holds $positions"
  [ "$audio_length" = "$samples" ] \
    || fail "$2: the header claims $audio_length sample frames, the index holds $samples"
  grep -q '^movi .* unindexed=0 ' <<<"$report" || fail "$2: chunks that the index misses"

  check_players "$1" "$2"
  # A packet for each position that holds a frame (ffmpeg passes over the
  # empty chunks of skipped positions), a picture decoded from each.
  empty=$(sed -n 's/^video .* empty=\([0-9]*\) .*/\1/p' <<<"$report")
  counts=$(ffprobe -v error -select_streams v -count_frames -count_packets \
    -show_entries stream=nb_read_packets,nb_read_frames -of default=nw=1 "$1")
  packets=$(sed -n 's/^nb_read_packets=//p' <<<"$counts")
  frames=$(sed -n 's/^nb_read_frames=//p' <<<"$counts")
  [ "$packets" = $((positions - empty)) ] \
    || fail "$2: ffmpeg reads $packets video packets; the index holds $positions positions, $empty empty"
  [ "$frames" = "$packets" ] || fail "$2: ffmpeg decodes $frames pictures of $packets packets"
  echo "$2: $(stat -c %s "$1") bytes, $positions positions ($empty empty), $samples sample" \
    "frames; ffmpeg decodes $frames pictures"
}

# Usage: check_mp4 FILE WHAT; the players' view of the fragments written.
# Sets video_seconds and audio_seconds.
check_mp4() {
  check_players "$1" "$2"
  video_seconds=$(stream_seconds "$1" v)
  audio_seconds=$(stream_seconds "$1" a)
  [ -n "$video_seconds" ] && [ -n "$audio_seconds" ] || fail "$2: not a video and a sound stream"
  echo "$2: $(stat -c %s "$1") bytes, video $video_seconds s, audio $audio_seconds s"
}

# Everything before the chunk that did not fit is kept: the disk has less
# room left than that chunk (no bigger than the largest one stored, give or
# take a page or two). The converter, given, fails there and leaves nothing.
full_disk_avi() {
  local free largest converted
  free=$(df -B1 --output=avail "$disk" | tail -n1)
  largest=$(sed -n 's/^movi .* largest=//p' <<<"$report")
  echo "$free bytes left on the disk; the largest chunk stored has $largest bytes"
  [ "$free" -le $((largest + 65536)) ] \
    || fail "the file leaves $free bytes of the disk unused: recorded chunks were dropped"
  [ -n "$converter" ] || return 0
  converted=$(winepath -w "$disk/clip.mp4")
  ! wine "$converter" /q "$(winepath -w "$1")" "$converted" || fail "a film was made on a full disk"
  [ ! -e "$disk/clip.mp4" ] && [ ! -e "$disk/clip.mp4.part" ] \
    || fail "the converter left a file on the full disk: $(ls "$disk")"
}

# The fragments hold no more than the recording ran until the box, and the
# disk is full to a page or two: no fragment was dropped before the one
# that did not fit.
full_disk_mp4() {
  local free
  free=$(df -B1 --output=avail "$disk" | tail -n1 | tr -d ' ')
  echo "$free bytes left on the disk"
  [ "$free" -le 65536 ] || fail "the file leaves $free bytes of the disk unused"
  awk -v v="$video_seconds" -v a="$audio_seconds" -v r="$recorded" 'BEGIN { exit !(v <= r && a <= r) }' \
    || fail "the file lasts longer than the $recorded s recorded: video $video_seconds s," \
      "audio $audio_seconds s"
}

# The next recording, of about 3 s, is whole: AVI with its legacy index too,
# MP4 played through by mpv.
next_recording_avi() {
  [ "$positions" -ge 20 ] || fail "the next recording holds $positions positions after 3 s"
  grep -q '^idx1: ' <<<"$report" || fail "the next recording has no legacy index"
}

next_recording_mp4() {
  awk -v v="$video_seconds" 'BEGIN { exit !(v >= 2) }' \
    || fail "the next recording lasts $video_seconds s after 3 s"
  plays_through_mpv "$1"
}

start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start a recording"
started=$(now)

# --- the disk fills: the recording stops with one box ---------------------
probe wait-dialog Error 60000 || fail "no message after 60 s of recording onto $disk_kb KB;" \
  "status '$(probe status "$TITLE" 1)', $(df -k --output=used,avail "$disk" | tail -n1) KB used, free"
recorded=$(awk -v s="$started" -v n="$(now)" 'BEGIN { printf "%.2f", n - s }')
echo "the box came after $recorded s"
message=$(probe message-text Error) || fail "cannot read the box"
echo "$message"
mapfile -t lines <<<"$message"
[ "${lines[0]}" = "Error writing AVI file" ] || fail "the box's first line: '${lines[0]}'"
[ -z "${lines[1]}" ] && [ "${lines[2]}" = "$film_windows" ] \
  || fail "the box does not name $film_windows after a blank line: $message"
[ -n "${lines[3]//[[:space:]]/}" ] || fail "no reason after the path: $message"
[ ${#lines[@]} = 6 ] && [ -z "${lines[4]}" ] \
  && [ "${lines[5]}" = "The recording was stopped. The file keeps what was recorded until then." ] \
  || fail "the box's last lines: $message"
[ "$(probe windows | grep -c "^[^ ].* #32770 'Error' ")" = 1 ] || fail "not one box: $(probe windows)"
import -window root "$work/error_box.png" || fail "cannot take a screenshot"
probe click-button Error 1 || fail "cannot answer the box"
probe wait-gone Error 5000 || fail "the box stayed after OK"
probe wait-status "$TITLE" 1 "Recording stopped" 5000 || fail "the status after the box"
! probe wait-dialog Error 0 2>/dev/null || fail "a second box: $(probe message-text Error)"
# Kept for a look afterwards: the disk goes with the test.
cp "$film" "$work/full_disk.$container"

# --- what the full disk keeps ------------------------------------------------
"check_$container" "$film" "file on the full disk"
"full_disk_$container" "$film"

# --- a failure leaves the program able to record -------------------------
probe command "$TITLE" $ID_FILE_ENTER_NAME || fail "cannot open the output file dialog"
probe wait-dialog "$OUTPUT_DIALOG" 5000 || fail "no output file dialog"
probe set-text "$OUTPUT_DIALOG" 1022 "$(winepath -w "$work/again.avi")" || fail "cannot type the path"
probe click-button "$OUTPUT_DIALOG" 1
probe wait-gone "$OUTPUT_DIALOG" 5000 || fail "OK did not close the output dialog"
desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start after the failure"
sleep 3  # record about 3 s
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
"check_$container" "$again" "the next recording"
"next_recording_$container" "$again"
echo "full disk ($container): stopped with a message, the file readable as left; the next recording plays"
