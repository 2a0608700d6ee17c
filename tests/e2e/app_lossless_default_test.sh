#!/bin/bash
# brantle.exe with a new user's settings but the lossless compressor (the
# catalogue's ZMBV entry, which a user picks for exact pictures) records a
# screen whose every picture the test knows; only full screen, hiding while
# recording, no sound and the output file are set besides.
# numbered_window.exe shows NumberedPicture frames at the top left, counts
# through them while the recording runs and then stands still. Then:
#   - ffprobe sees one ZMBV stream of the whole 1024 x 768 screen;
#   - where the window is, every frame that ffmpeg's default decoder gives
#     is exactly one of its pictures, the numbers never going back, from the
#     first to the last;
#   - the last frame is, pixel for pixel, a screenshot of the screen taken
#     once the picture stood still, but for the pointer's place, where the
#     first and the last frame both show the cursor (the screenshot has
#     none), though the mouse never moved while recording;
#   - mpv plays the file through.
# Usage: app_lossless_default_test.sh APP_PROBE.exe BRANTLE.exe NUMBERED_WINDOW.exe
#        NUMBERED_FRAMES.exe WORK_DIR
set -u
APP_PROBE=$1
BRANTLE=$2
numbered=$3
checker=$4
work=$5
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"
trap finish_app EXIT

picture_title="Numbered Picture"
still_title="Numbered Picture still"
# Where numbered_window.exe shows its pictures, and the number it stops at.
picture_crop=256:192:8:8
last_number=30
# The pointer rests away from the picture; the arrow covers less than 40
# pixels right and below its point.
pointer_x=900
pointer_y=400
pointer_reach=40

rm -rf "$work"
mkdir -p "$work"
avi="$work/screen.avi"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_dword RecordAudio 0
set_string SavePath "$(winepath -w "$avi")"

start_helper "$numbered" "$picture_title" "$work/numbered.log"
helper_windows+=("$still_title")  # its title at the end, for finish_app to close
probe wait-window "$picture_title" 20000 || fail "numbered_window did not start"
start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
desktop=$(desktop_window) || fail "no virtual desktop"
xdotool mousemove --window "$desktop" $pointer_x $pointer_y || fail "cannot move the pointer"

desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start a recording"
wait_frames_above 0 10 || fail "no frames recorded"
probe command "$picture_title" 1 || fail "cannot start the count"
probe wait-window "$still_title" 20000 || fail "the picture did not reach its last number"
# Frames of the still screen before and after its screenshot.
wait_frames_above "$(frames_shown)" 5 || fail "no frames after the count"
import -window root -depth 8 "rgb:$work/screen.rgb" || fail "cannot take a screenshot"
wait_frames_above "$(frames_shown)" 5 || fail "no frames after the screenshot"
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"

# --- the file ---------------------------------------------------------------
[ -s "$avi" ] || fail "no file at $avi"
info=$(ffprobe -v error -of default=nw=1 -show_entries stream=codec_type,codec_name,width,height \
  "$avi")
echo "$info"
[ "$(grep -c '^codec_type=' <<<"$info")" = 1 ] || fail "not exactly one stream"
grep -qx 'codec_name=zmbv' <<<"$info" || fail "not ZMBV, the compressor set"
grep -qx 'width=1024' <<<"$info" && grep -qx 'height=768' <<<"$info" || fail "not the whole screen"

# --- the numbered pictures, in every frame -----------------------------------
ffmpeg -v error -y -i "$avi" -vf "crop=$picture_crop" -f rawvideo -pix_fmt bgr24 \
  "$work/pictures.bgr24" || fail "ffmpeg could not decode the film"
IFS=: read -r picture_width picture_height _ _ <<<"$picture_crop"
wine_logged "$work/pictures.log" "$checker" "$(winepath -w "$work/pictures.bgr24")" \
  "$picture_width" "$picture_height" || fail "a frame is not the picture that was on the screen"
read -r first last seen < <(tr -d '\r' <"$work/pictures.log" \
  | sed -n 's/^frames [0-9]*, numbers \([0-9]*\) to \([0-9]*\), \([0-9]*\) of them$/\1 \2 \3/p')
[ "${first:-}" = 0 ] && [ "${last:-}" = $last_number ] \
  || fail "the film shows numbers ${first:-?} to ${last:-?}, not 0 to $last_number"
# Two frames a number are grabbed; most numbers must be there.
[ "${seen:-0}" -ge $((last_number / 2)) ] || fail "only $seen numbers in the film"

# --- the last frame against the screenshot -----------------------------------
ffmpeg -v error -sseof -1 -i "$avi" -f rawvideo -pix_fmt rgb24 - | tail -c $((1024 * 768 * 3)) \
  >"$work/last.rgb24" || fail "ffmpeg could not decode the last frame"
ffmpeg -v error -i "$avi" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$work/first.rgb24" \
  || fail "ffmpeg could not decode the first frame"
python3 - "$work" $pointer_x $pointer_y $pointer_reach <<'EOF' || fail "the last frame"
import sys
work = sys.argv[1]
px, py, reach = (int(v) for v in sys.argv[2:5])
shot = open(f"{work}/screen.rgb", "rb").read()
last = open(f"{work}/last.rgb24", "rb").read()
if len(shot) != len(last) or len(last) != 1024 * 768 * 3:
    sys.exit(f"sizes: screenshot {len(shot)} bytes, last frame {len(last)}")
differing = [(i // 3 % 1024, i // 3 // 1024) for i in range(0, len(last), 3)
             if shot[i:i + 3] != last[i:i + 3]]
away = [(x, y) for x, y in differing if not (0 <= x - px < reach and 0 <= y - py < reach)]
print(f"last frame: {len(differing)} pixels differ from the screenshot, "
      f"{len(differing) - len(away)} of them under the pointer")
# The mouse has not moved since before the start: the cursor is in the
# first frame as in the last (the desktop under it is the same).
first = open(f"{work}/first.rgb24", "rb").read()
for name, frame in (("first", first), ("last", last)):
    drawn = sum(1 for y in range(py, py + reach) for x in range(px, px + reach)
                if frame[(y * 1024 + x) * 3:(y * 1024 + x) * 3 + 3]
                != shot[(y * 1024 + x) * 3:(y * 1024 + x) * 3 + 3])
    print(f"{name} frame: {drawn} pixels of the cursor drawn")
    if drawn < 20:
        sys.exit(f"no cursor in the {name} frame")
if away:
    xs, ys = [x for x, _ in away], [y for _, y in away]
    sys.exit(f"{len(away)} pixels away from the pointer differ, "
             f"within {min(xs)},{min(ys)} .. {max(xs)},{max(ys)}")
EOF
plays_through_mpv "$avi"
echo "default recording: ZMBV, numbers $first to $last ($seen of them) exact, the last frame" \
  "equal to the screenshot, the cursor in the first and the last"
