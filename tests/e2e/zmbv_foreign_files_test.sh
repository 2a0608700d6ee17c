#!/bin/bash
# ZMBV files we did not make play through brzmbv.dll, registered as the
# system's codec, for zmbv_file_reader (the platform's AVI layer and codec
# manager; none of our codec code): ffmpeg's own ZMBV encoder writes a
# moving test picture in every pixel format it has (pal8, rgb555le,
# rgb565le, bgr0), one key frame and then deltas only, and each file must
# come out of the reader exactly as ffmpeg decodes it. Then again with the
# stream format's bit count set to 0, as the format's original encoder
# writes it.
# Usage: zmbv_foreign_files_test.sh BRZMBV.dll READER.exe WORK_DIR
set -u
dll=$1
reader=$2
work=$3
mkdir -p "$work"
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

width=321 height=203 frames=40
drivers='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32'
installed="$WINEPREFIX/drive_c/windows/system32/brzmbv.dll"

unregister() {
  wine reg delete "$drivers" /v vidc.zmbv /f /reg:64 >"$work/reg.log" 2>&1
  rm -f "$installed"
}
trap unregister EXIT
cp "$dll" "$installed" || fail "cannot copy the library into system32"
wine reg add "$drivers" /v vidc.zmbv /t REG_SZ /d brzmbv.dll /f /reg:64 >"$work/reg.log" 2>&1 ||
  fail "cannot register the library: $(cat "$work/reg.log")"

# Usage: zero_bit_count FILE; the first stream format's biBitCount to 0.
zero_bit_count() {
  python3 - "$1" <<'PY' || fail "cannot edit the stream format of $1"
import sys
data = bytearray(open(sys.argv[1], "rb").read())
at = data.index(b"strf") + 8 + 14  # past the chunk header, to biBitCount
data[at:at + 2] = b"\0\0"
open(sys.argv[1], "wb").write(data)
PY
}

# Usage: judge FILE WHAT; the reader's frames against ffmpeg's, exactly.
judge() {
  local avi=$1 what=$2
  rm -f "$work/reader.raw"
  wine_logged "$work/reader.log" "$reader" "$(winepath -w "$avi")" \
    "$(winepath -w "$work/reader.raw")" >/dev/null || fail "$what: $(tr -d '\r' <"$work/reader.log")"
  tr -d '\r' <"$work/reader.log" | grep -qx "decompressor: .* (brzmbv.dll)" ||
    fail "$what: the decompressor found is not the library"
  tr -d '\r' <"$work/reader.log" | grep -qx "frames decoded: $frames" ||
    fail "$what: not $frames frames: $(tr -d '\r' <"$work/reader.log")"
  # The reader's frames are bottom-up B, G, R, x; ffmpeg's top-down.
  ffmpeg -v error -y -f rawvideo -pix_fmt bgr0 -s ${width}x$height -i "$work/reader.raw" \
    -vf vflip -f rawvideo -pix_fmt bgr24 "$work/reader.bgr24" || fail "cannot turn the reader's frames"
  ffmpeg -v error -y -i "$avi" -f rawvideo -pix_fmt bgr24 "$work/ffmpeg.bgr24" ||
    fail "ffmpeg did not decode $avi"
  cmp -s "$work/reader.bgr24" "$work/ffmpeg.bgr24" ||
    fail "$what: the frames differ from ffmpeg's: $(cmp "$work/reader.bgr24" "$work/ffmpeg.bgr24")"
}

for format in pal8 rgb555le rgb565le bgr0; do
  avi="$work/$format.avi"
  # testsrc2 draws even sizes of 4:2:0: cropped in RGB to odd ones, for
  # blocks cut by both edges.
  ffmpeg -v error -y -f lavfi -i "testsrc2=size=$((width + 1))x$((height + 1)):rate=10" \
    -vf "format=rgb24,crop=$width:$height:0:0" -frames:v $frames \
    -c:v zmbv -pix_fmt $format -g 1000 -keyint_min 1000 "$avi" || fail "ffmpeg cannot write $format"
  keys=$(ffprobe -v error -select_streams v -show_entries packet=flags -of csv=p=0 "$avi" | grep -c K)
  [ "$keys" = 1 ] || fail "$format: $keys key frames, not one"
  judge "$avi" "$format"
  zero_bit_count "$avi"
  judge "$avi" "$format, bit count 0"
  echo "$format: $frames frames (one key frame) decoded exactly as ffmpeg does, also with bit count 0"
done
