#!/bin/bash
# A full-screen recording with brantle.exe in the virtual desktop, set up in
# the registry (full screen, minimise while recording, the output file, no
# sound), of a screen where moving_picture.exe changes colour:
#   - Ctrl+B hides the main window and records at once; Ctrl+P pauses (the
#     status bar says so and the frame count stands still for the 2 s of the
#     pause), Ctrl+B resumes, Ctrl+E stops;
#   - the file holds one stream of the whole 1024 x 768 screen at 10 frames
#     per second, in the lossless ZMBV of the tests' settings (with the
#     container mp4: an .mp4 file of H.264, the catalogue's MP4 entry), that
#     ffmpeg decodes without an error, lasting the recording's wall-clock time
#     without the pause (within 10 %); its frames follow the changing
#     colour, and the main window is in none of them;
#   - a click on the tray icon brings the hidden window back;
#   - a second recording stopped and closed at once: the program ends only
#     once the file is finished, and every frame in it is readable.
# Usage: app_full_screen_test.sh APP_PROBE.exe BRANTLE.exe MOVING_PICTURE.exe WORK_DIR [avi|mp4]
set -u
APP_PROBE=$1
BRANTLE=$2
moving=$3
work=$4
container=${5:-avi}
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"
trap finish_app EXIT

# The file's format and its stream's codec, from ffprobe's INFO.
check_container() {
  case $container in
    avi)
      grep -qx 'format_name=avi' <<<"$1" || fail "not an AVI file"
      grep -qx 'codec_name=zmbv' <<<"$1" || fail "not ZMBV, the compressor set"
      ;;
    mp4)
      grep -q '^format_name=.*mp4' <<<"$1" || fail "not an MP4 file"
      grep -qx 'codec_name=h264' <<<"$1" || fail "not H.264, the MP4 entry's codec"
      ;;
  esac
}

moving_title="Moving Picture"
rm -rf "$work"
mkdir -p "$work"
film="$work/screen.$container"
reset_settings
set_container "$container"
set_dword RegionType 2
set_dword Minimize 1
set_dword RecordAudio 0
set_string SavePath "$(winepath -w "$film")"

start_helper "$moving" "$moving_title" "$work/moving.log"
probe wait-window "$moving_title" 20000 || fail "moving_picture did not start"
read -r m_left m_top m_right m_bottom _ _ < <(probe rect "$moving_title")

start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
probe wait-visible "$TITLE" yes 5000 || fail "the main window is not shown"
read -r w_left w_top w_right w_bottom _ _ < <(probe rect "$TITLE")

desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start a recording"
started=$(now)
probe wait-visible "$TITLE" no 0 || fail "the main window stayed on the screen"
sleep 4  # record about 4 s

desktop_key ctrl+p
paused=$(now)
probe wait-status "$TITLE" 1 Paused 5000 || fail "Ctrl+P did not pause: $(pause_report)"
frames=$(frames_shown)
[ -n "$frames" ] && [ "$frames" -gt 0 ] || fail "no frames before the pause: $(probe status "$TITLE" 2)"
# Paused for 2 s from the key press.
sleep "$(awk -v p="$paused" -v n="$(now)" 'BEGIN { s = 2 - (n - p); print (s > 0 ? s : 0) }')"
state=$(probe status "$TITLE" 1)
[ "$state" = Paused ] || fail "pane 1 shows '$state' after 2 s of pause"
[ "$(frames_shown)" = "$frames" ] || fail "frames went on during the pause: $frames, then $(frames_shown)"
desktop_key ctrl+b
resumed=$(now)
probe wait-status "$TITLE" 1 Recording 5000 || fail "Ctrl+B did not resume"
wait_frames_above "$frames" 5 || fail "no frames after the resume"
# Record about 3 s after the resume.
sleep "$(awk -v r="$resumed" -v n="$(now)" 'BEGIN { s = 3 - (n - r); print (s > 0 ? s : 0) }')"
desktop_key ctrl+e
stopped=$(now)
probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"

# --- the file ---------------------------------------------------------------
[ -s "$film" ] || fail "no file at $film"
info=$(ffprobe -v error -of default=nw=1 \
  -show_entries stream=codec_type,codec_name,width,height,r_frame_rate:format=format_name,duration \
  "$film")
echo "$info"
[ "$(grep -c '^codec_type=' <<<"$info")" = 1 ] || fail "not exactly one stream"
grep -qx 'codec_type=video' <<<"$info" || fail "the stream is not video"
check_container "$info"
grep -qx 'width=1024' <<<"$info" && grep -qx 'height=768' <<<"$info" || fail "not the whole screen"
grep -qx 'r_frame_rate=10/1' <<<"$info" || fail "not 10 frames per second"
errors=$(ffmpeg -v error -i "$film" -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg decode errors: $errors"

duration=$(sed -n 's/^duration=//p' <<<"$info")
recorded=$(awk -v s="$started" -v p="$paused" -v r="$resumed" -v e="$stopped" \
  'BEGIN { printf "%.2f", (e - s) - (r - p) }')
echo "film $duration s, recorded $recorded s of wall-clock time without the pause"
within "$(awk -v w="$recorded" 'BEGIN { print w / 10 }')" "$duration" "$recorded" \
  || fail "the film lasts $duration s, the recording $recorded s without the pause"

# The changing colour, as an 8 x 8 patch at the middle of moving_picture's
# window in every frame.
cx=$(((m_left + m_right) / 2 - 4))
cy=$(((m_top + m_bottom) / 2 - 4))
ffmpeg -v error -y -i "$film" -vf "crop=8:8:$cx:$cy" -f rawvideo -pix_fmt rgb24 "$work/patch.rgb24" \
  || fail "ffmpeg could not crop the frames"
# The main window's place in the first and the last frame: the window was
# hidden for the whole recording, so both show what lay beneath it.
ffmpeg -v error -y -i "$film" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$work/first.rgb24" \
  || fail "ffmpeg could not extract the first frame"
ffmpeg -v error -sseof -1 -i "$film" -f rawvideo -pix_fmt rgb24 - | tail -c $((1024 * 768 * 3)) \
  >"$work/last.rgb24" || fail "ffmpeg could not extract the last frame"

python3 - "$work" "$w_left" "$w_top" "$w_right" "$w_bottom" <<'EOF' || fail "the frames"
import sys
work = sys.argv[1]
left, top, right, bottom = (int(v) for v in sys.argv[2:6])

patch = open(f"{work}/patch.rgb24", "rb").read()
size = 8 * 8 * 3
means = [tuple(sum(patch[i + c:i + size:3]) / 64 for c in range(3))
         for i in range(0, len(patch) - size + 1, size)]
changed = sum(1 for a, b in zip(means, means[1:]) if max(abs(x - y) for x, y in zip(a, b)) > 6)
print(f"moving picture: the colour changed between {changed} of {len(means) - 1} pairs of frames")
# Most pairs: moving_picture's timer may now and then miss a step under load.
if changed * 2 < len(means) - 1:
    sys.exit("the film does not follow the changing colour")

first = open(f"{work}/first.rgb24", "rb").read()
last = open(f"{work}/last.rgb24", "rb").read()
def pixel(frame, x, y):
    at = (y * 1024 + x) * 3
    return frame[at:at + 3]
samples = [(x, y) for y in range(top, bottom, 4) for x in range(left, right, 4)]
other = sum(1 for x, y in samples
            if max(abs(a - b) for a, b in zip(pixel(first, x, y), pixel(last, x, y))) > 24)
print(f"main window's place: {other} of {len(samples)} samples differ between the first and the last frame")
if other * 100 > len(samples):
    sys.exit("the first frame shows the main window")
EOF

# --- the tray icon brings the window back ---------------------------------
tray_click "$APP_NAME" 1 || fail "cannot click the tray icon"
probe wait-visible "$TITLE" yes 5000 || fail "a click on the tray icon did not show the window"
probe wait-foreground "$TITLE" 5000 || fail "a click on the tray icon did not bring the window forward"

echo "full-screen recording with a pause: $recorded s recorded, film $duration s"

# --- closed at once after Stop: the program ends only with its file done ----
rm -f "$film"
desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start the second recording"
# Pane 2 still shows the first recording's 7 s until the second one counts.
probe wait-status-match "$TITLE" 2 '2 sec  [0-9]+  frames' 10000 || fail "no frames in the second recording"
probe command-then-close "$TITLE" "$ID_RECORD_STOP" || fail "cannot stop and close"
probe wait-gone "$TITLE" 15000 || fail "the program did not close after the stop"
wait_app_pids "" 10 || fail "the program's process did not end"
stored=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames \
  -of default=nw=1:nk=1 "$film") || fail "the file of a recording closed at once is unreadable"
errors=$(ffmpeg -v error -i "$film" -f null - 2>&1)
[ -z "$errors" ] || fail "the file of a recording closed at once has errors: $errors"
[ "${stored:-0}" -gt 10 ] || fail "the file of a recording closed at once holds $stored frames"
echo "stopped and closed at once: the program ended after its file, $stored frames readable"
