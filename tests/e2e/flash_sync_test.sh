#!/bin/bash
# Records the pattern while it flashes white with a 1 kHz cue played in the
# same instant, once per capture format given, in one run of the recorder,
# and checks every file with flash_sync.py: sound as long as the film, only
# whole cues at their pitch, each within a frame of its flash once the
# test's own sound path's latency (measured first) is taken off. With the
# record option --container mp4 the files are MP4, H.264 and AAC.
# Usage: flash_sync_test.sh PATTERN_RECORDER.exe WORK_DIR SECONDS CANDIDATES [RECORD OPTIONS...]
set -u
recorder=$1
work=$2
seconds=$3
candidates=$4
shift 4
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

cue_ms=60
sox -n -r 44100 -c 1 -b 16 "$work/cue.wav" synth "$(printf "0.%03d" $cue_ms)" sine 1000 || fail "sox"
cue=$(winepath -w "$work/cue.wav")
latency=$(wine "$recorder" latency "$cue" | tr -d '\r') || fail "no sound came back to measure the latency"
echo "the test's sound path: $latency ms from playing to capture"

ext=avi
[[ " $* " == *" --container mp4 "* ]] && ext=mp4

# An MP4 file must hold H.264 and AAC, not a film of some other compressor.
mp4_codecs() {
  local codecs
  codecs=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$1" | tr '\n' ' ')
  [ "$codecs" = "h264 aac " ] || { echo "FAULT: $1 holds $codecs, not H.264 and AAC"; return 1; }
}

rm -f "$work"/flash*.$ext
wine "$recorder" record "$(winepath -w "$work/flash.$ext")" "$seconds" --audio "$candidates" \
  --flash 700 --cue "$cue" "$@" || fail "recording failed"

failed=0
for candidate in ${candidates//,/ }; do
  film="$work/flash-$candidate.$ext"
  [ "$candidate" = "$candidates" ] && film="$work/flash.$ext"
  echo -n "candidate $candidate: "
  [ $ext = avi ] || mp4_codecs "$film" || failed=1
  python3 "$(dirname "$0")/flash_sync.py" "$film" "$latency" "$cue_ms" || failed=1
done
[ $failed = 0 ] || fail "a recording is not what was seen and heard"
