#!/bin/bash
# brzmbv.dll, installed as the system's ZMBV codec, decodes our recordings for
# any program. zmbv_file_maker writes a ZMBV file of a screen-like scene
# (and the frames it was given); zmbv_file_reader, which holds none of our
# codec code, plays it through the platform's AVI layer. Unregistered, the
# reader finds no decompressor; with the library in system32 and registered
# as "vidc.zmbv" under Drivers32, it decodes every frame exactly; removed
# again, it finds none. ffmpeg decodes the same file to the same pixels.
# Usage: zmbv_library_test.sh BRZMBV.dll MAKER.exe READER.exe WORK_DIR
set -u
dll=$1
maker=$2
reader=$3
work=$4
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

width=321 height=199 frames=12 key_every=5
avi="$work/scene.avi"
source_frames="$work/source.raw"
drivers='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32'
installed="$WINEPREFIX/drive_c/windows/system32/brzmbv.dll"

unregister() {
  wine reg delete "$drivers" /v vidc.zmbv /f /reg:64 >"$work/reg.log" 2>&1
  rm -f "$installed"
}
# The 64-bit library, in system32 and the registry's 64-bit view, as an
# installer puts it.
register() {
  cp "$dll" "$installed" || fail "cannot copy the library into system32"
  wine reg add "$drivers" /v vidc.zmbv /t REG_SZ /d brzmbv.dll /f /reg:64 >"$work/reg.log" 2>&1 ||
    fail "cannot register the library: $(cat "$work/reg.log")"
}
trap unregister EXIT
unregister # whatever a run cut short left behind

# Plays the file with the reader; its exit status is the function's.
read_frames() {
  rm -f "$work/decoded.raw"
  wine_logged "$work/reader.log" "$reader" "$(winepath -w "$avi")" \
    "$(winepath -w "$work/decoded.raw")"
}

# Fails unless two raw files of frames of FRAME_BYTES are the same.
same_frames() {
  local what=$1 a=$2 b=$3 frame_bytes=$4 where
  where=$(cmp "$a" "$b" 2>&1) && return 0
  local byte
  byte=$(sed -n 's/.*differ: byte \([0-9]*\),.*/\1/p' <<<"$where")
  [ -n "$byte" ] || fail "$what: $where"
  fail "$what: frame $(((byte - 1) / frame_bytes)) differs (byte $byte)"
}

rm -f "$avi" "$source_frames"
wine_logged "$work/maker.log" "$maker" "$(winepath -w "$avi")" "$(winepath -w "$source_frames")" \
  $width $height $frames $key_every || fail "making the file failed"

read_frames
status=$?
[ $status -eq 2 ] || fail "without the library the reader ended with $status, not 'no decompressor'"

register
read_frames || fail "the reader did not decode the file with the library registered"
# The reader's lines end in CR LF.
tr -d '\r' <"$work/reader.log" | grep -qx "frames decoded: $frames" || fail "not $frames frames decoded"
tr -d '\r' <"$work/reader.log" | grep -qx "decompressor: .* (brzmbv.dll)" ||
  fail "the decompressor found is not the library"
same_frames "the reader's frames" "$source_frames" "$work/decoded.raw" $((width * height * 4))

unregister
read_frames
status=$?
[ $status -eq 2 ] || fail "after removing the library the reader ended with $status"

probe=$(ffprobe -v error -count_frames -select_streams v -show_entries \
  stream=codec_name,width,height,nb_read_frames -of default=nw=1 "$avi")
echo "$probe"
grep -qx "codec_name=zmbv" <<<"$probe" || fail "not ZMBV"
{ grep -qx "width=$width" <<<"$probe" && grep -qx "height=$height" <<<"$probe"; } || fail "wrong size"
grep -qx "nb_read_frames=$frames" <<<"$probe" || fail "not $frames frames"
keys=$(ffprobe -v error -select_streams v -show_entries packet=flags -of csv=p=0 "$avi" |
  awk '/K/ { printf "%d ", NR - 1 }')
expected_keys=$(seq 0 $key_every $((frames - 1)) | tr '\n' ' ')
[ "$keys" = "$expected_keys" ] || fail "key frames at $keys, not at $expected_keys"

# ffmpeg's frames are top-down without the fourth byte: the source alike.
ffmpeg -v error -y -i "$avi" -f rawvideo -pix_fmt bgr24 "$work/ffmpeg.raw" ||
  fail "ffmpeg did not decode the file"
ffmpeg -v error -y -f rawvideo -pix_fmt bgr0 -s ${width}x$height -i "$source_frames" \
  -vf vflip -f rawvideo -pix_fmt bgr24 "$work/source-top.raw" || fail "ffmpeg did not turn the source"
same_frames "ffmpeg's frames" "$work/source-top.raw" "$work/ffmpeg.raw" $((width * height * 3))
echo "zmbv library: $frames frames of ${width} x $height decoded exactly by the installed" \
  "library and by ffmpeg, key frames at $keys; none decoded without it"
