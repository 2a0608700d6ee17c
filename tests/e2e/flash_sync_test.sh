#!/bin/bash
# Records the pattern while it flashes white with a 1 kHz cue played in the
# same instant, once per capture format given, in one run of the recorder,
# and checks every file with flash_sync.py: sound as long as the film, only
# whole cues at their pitch, each within a frame of its flash once the
# test's own sound path's latency (measured first) is taken off.
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

rm -f "$work"/flash*.avi
wine "$recorder" record "$(winepath -w "$work/flash.avi")" "$seconds" --audio "$candidates" \
  --flash 700 --cue "$cue" "$@" || fail "recording failed"

failed=0
for candidate in ${candidates//,/ }; do
  avi="$work/flash-$candidate.avi"
  [ "$candidate" = "$candidates" ] && avi="$work/flash.avi"
  echo -n "candidate $candidate: "
  python3 "$(dirname "$0")/flash_sync.py" "$avi" "$latency" "$cue_ms" || failed=1
done
[ $failed = 0 ] || fail "a recording is not what was seen and heard"
