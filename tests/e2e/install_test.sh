#!/bin/bash
# The packages in dist/ (scripts/package.sh makes them) as a Windows user
# meets them, each installed into a fresh Wine prefix of its own.
# x64:
#   - `msiexec /i /qn` puts brantle.exe, hook.dll, brzmbv.dll and the
#     help file quellon.chm (and,
#     where the packages have the converter, avi2mpg.exe with LICENSE.txt,
#     GPL-2.txt, Apache-2.0.txt and THIRD-PARTY.txt) into
#     C:\Program Files\Brantle, byte for byte the portable zip's, the codec
#     into system32 with its Drivers32 value in the 64-bit registry view
#     only, a Start-menu shortcut to the program and one entry among the
#     installed programs; installing the same package again adds none;
#   - the installed program's Help > Contents opens the installed help file
#     in the help viewer;
#   - the installed program shows its main window, asks for an output file
#     and saves it among its settings, and records the full screen into a
#     ZMBV film that ffmpeg decodes;
#   - zmbv_file_reader, which holds none of our codec code, decodes that
#     film through the codec the package registered (nothing else did in
#     this prefix) to exactly ffmpeg's frames;
#   - `msiexec /x` removes every file, the folder, the shortcut, the codec's
#     value and the entry, and leaves the settings the program wrote; the
#     reader then finds no decompressor;
#   - upgrades: another build of the same version replaces the installed
#     one, a higher version replaces that, the older package is refused
#     afterwards; one entry each time; removing the last leaves nothing;
#   - where vidc.zmbv names another program's codec, installing and
#     removing the package leave that value as it was.
# x86, only where Wine has its 32-bit side (skipped, 77, otherwise): the
#   32-bit package goes under C:\Program Files (x86)\Brantle with the codec
#   in syswow64 and its value in the 32-bit view only; the program shows
#   its window; the package is removed again without a trace.
# Usage: install_test.sh x64|x86 APP_PROBE.exe ZMBV_FILE_READER.exe WORK_DIR
set -u
arch=$1
APP_PROBE=$2
reader=$3
work=$(mkdir -p "$4" && cd "$4" && pwd)  # Wine takes only an absolute prefix
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"

version=1.80
product_version=1.80.0
dist="$root/dist"
drivers='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

case "$arch" in
  x64 | x86) ;;
  *) fail "no architecture '$arch' (x64 or x86)" ;;
esac
# Debian's 32-bit Wine (wine32:i386) brings this loader.
if [ "$arch" = x86 ] && [ ! -x /usr/lib/wine/wine ]; then
  echo "SKIPPED: Wine has no 32-bit side here (wine32:i386 is not installed), so the 32-bit" \
    "package cannot be installed and run"
  exit 77
fi
for kind in msi zip; do
  [ -f "$dist/Brantle-$version-$arch.$kind" ] ||
    fail "$dist/Brantle-$version-$arch.$kind is missing: run scripts/package.sh first"
done
rm -rf "$work"
mkdir -p "$work"

# Ends the program and the Wine processes of the test's prefix, however the
# test ends; the test environment's own prefix is left alone. The prefix
# (700 MB) is kept only when the test failed, to be looked into.
own_prefix=""
finish() {
  local status=$?
  [ -n "$own_prefix" ] || return 0
  finish_app
  wineserver -k >/dev/null 2>&1
  [ $status = 0 ] && rm -rf "$own_prefix"
}
trap finish EXIT

# Usage: use_fresh_prefix NAME; the prefix the rest runs in, made anew.
use_fresh_prefix() {
  own_prefix="$work/$1"
  export WINEPREFIX="$own_prefix"
  rm -rf "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || fail "cannot make the Wine prefix $WINEPREFIX"
}

# --- where each architecture's package puts things ---------------------------
# Usage: layout ARCH; sets program_dir (Windows path), program_unix,
# system_unix, view (the registry view of the codec's value) and other_view.
layout() {
  case "$1" in
    x64)
      program_dir='C:\Program Files\Brantle'
      system_unix="$WINEPREFIX/drive_c/windows/system32"
      view=64 other_view=32
      ;;
    x86)
      program_dir='C:\Program Files (x86)\Brantle'
      system_unix="$WINEPREFIX/drive_c/windows/syswow64"
      view=32 other_view=64
      ;;
  esac
  program_unix=$(winepath -u "$program_dir")
  program_unix=${program_unix%/}
}

# --- the package's facts -----------------------------------------------------
# Usage: msi_property PACKAGE NAME
msi_property() {
  msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' -v n="$2" '$1 == n { print $2 }'
}

# Usage: run_msiexec LOG ARGS...; its exit status is msiexec's; the verbose
# log goes to LOG.
run_msiexec() {
  local log=$1
  shift
  wine msiexec "$@" /qn /l*v "$(winepath -w "$log")" >"$log.out" 2>&1
}

# Usage: install PACKAGE NAME; fails unless msiexec installs it.
install() {
  run_msiexec "$work/$2.log" /i "$(winepath -w "$1")" ||
    fail "msiexec /i $(basename "$1") ($2) ended with $?: $(tail -n 20 "$work/$2.log" | tr -d '\r')"
}

# Usage: uninstall PACKAGE NAME; fails unless msiexec removes it.
uninstall() {
  run_msiexec "$work/$2.log" /x "$(winepath -w "$1")" ||
    fail "msiexec /x $(basename "$1") ($2) ended with $?: $(tail -n 20 "$work/$2.log" | tr -d '\r')"
}

# The entries among the installed programs, one "{CODE}|||NAME" a line.
entries() { wine uninstaller --list 2>/dev/null | tr -d '\r'; }

# Usage: entry_value CODE NAME; a value of the product's uninstall entry, in
# whichever registry view it is.
entry_value() {
  local v
  for v in 64 32; do
    wine reg query "$uninstall_key\\$1" /v "$2" /reg:$v 2>/dev/null | tr -d '\r' |
      sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | grep . && return 0
  done
  return 1
}

# Usage: expect_one_entry CODE VERSION; the product is installed once, as
# that version.
expect_one_entry() {
  local list
  list=$(entries)
  [ "$(grep -c '|||Brantle for Windows$' <<<"$list")" = 1 ] ||
    fail "not one 'Brantle for Windows' among the installed programs: $list"
  grep -qx "$1|||Brantle for Windows" <<<"$list" || fail "the entry is not product $1: $list"
  [ "$(entry_value "$1" DisplayVersion)" = "$2" ] ||
    fail "the entry's version is '$(entry_value "$1" DisplayVersion)', not $2"
}

# Usage: codec_value VIEW; the data of vidc.zmbv in that registry view.
codec_value() {
  wine reg query "$drivers" /v vidc.zmbv /reg:"$1" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *vidc.zmbv *REG_SZ *//p'
}

# Usage: logged_property LOG NAME; a property's value in msiexec's log.
logged_property() {
  tr -d '\r' <"$1" | sed -n "s/^Property(S): $2 = //p" | head -n1
}

# The shortcut, in the Start-menu folder the installer used, from its log
# (Wine puts a per-machine package's shortcuts into the user's menu).
shortcut_file() {
  local folder
  folder=$(logged_property "$1" ProgramMenuFolder)
  [ -n "$folder" ] || return 1
  echo "$(winepath -u "$folder")/Brantle for Windows.lnk"
}

# --- what an installed package leaves ----------------------------------------
# Usage: check_installed ARCH PACKAGE LOG FILES_DIR
# FILES_DIR holds the binaries the package should have installed.
check_installed() {
  local arch=$1 package=$2 log=$3 files=$4 f code lnk
  layout "$arch"
  # What the zip holds but for README.txt: the three binaries, and where the
  # packages have the converter, avi2mpg.exe and its licence texts.
  local expected="" held
  for f in "$files"/*; do
    f=${f##*/}
    [ "$f" = README.txt ] || expected="$expected${expected:+ }$f"
  done
  for f in $expected; do
    [ -f "$program_unix/$f" ] || fail "$arch: no $f in $program_dir"
    cmp -s "$files/$f" "$program_unix/$f" || fail "$arch: $program_dir\\$f is not the zip's $f"
  done
  held=$(cd "$program_unix" && echo *)
  [ "$held" = "$expected" ] || fail "$arch: $program_dir holds $held, not $expected"
  cmp -s "$files/brzmbv.dll" "$system_unix/brzmbv.dll" ||
    fail "$arch: no brzmbv.dll in $system_unix, or not the zip's"
  [ "$(codec_value "$view")" = brzmbv.dll ] ||
    fail "$arch: vidc.zmbv in the $view-bit view is '$(codec_value "$view")', not brzmbv.dll"
  [ -z "$(codec_value "$other_view")" ] || fail "$arch: vidc.zmbv is in the $other_view-bit view too"
  lnk=$(shortcut_file "$log") || fail "$arch: no ProgramMenuFolder in the installer's log"
  [ -f "$lnk" ] || fail "$arch: no shortcut $lnk"
  strings -a "$lnk" | grep -qxF "$program_dir\\brantle.exe" ||
    fail "$arch: the shortcut does not lead to $program_dir\\brantle.exe"
  # Started in the user's documents, not in the read-only program folder.
  strings -a -e l "$lnk" | grep -qxF "$(logged_property "$log" PersonalFolder)" ||
    fail "$arch: the shortcut does not start the program in the user's documents"
  code=$(msi_property "$package" ProductCode)
  expect_one_entry "$code" "$product_version"
  [ "$(entry_value "$code" DisplayName)" = "Brantle for Windows" ] || fail "$arch: the entry's name"
  [ "$(entry_value "$code" Publisher)" = "The Brantle developers" ] || fail "$arch: the entry's publisher"
  entry_value "$code" UninstallString | grep -qiF "/X$code" ||
    fail "$arch: the entry's uninstaller is '$(entry_value "$code" UninstallString)'"
}

# Usage: check_removed ARCH LOG; nothing of the package is left.
check_removed() {
  local arch=$1 lnk
  layout "$arch"
  [ ! -e "$program_unix" ] || fail "$arch: $program_dir is still there: $(ls "$program_unix")"
  [ ! -e "$system_unix/brzmbv.dll" ] || fail "$arch: brzmbv.dll is still in $system_unix"
  [ -z "$(codec_value "$view")$(codec_value "$other_view")" ] || fail "$arch: vidc.zmbv is still registered"
  lnk=$(shortcut_file "$2") || fail "$arch: no ProgramMenuFolder in the log"
  [ ! -e "$lnk" ] || fail "$arch: the shortcut $lnk is still there"
  ! grep -q '|||Brantle for Windows$' <<<"$(entries)" || fail "$arch: still installed: $(entries)"
}

# Usage: unzip_package ARCH; the portable zip's files in $work/ARCH-zip.
unzip_package() {
  rm -rf "$work/$1-zip"
  unzip -q "$dist/Brantle-$version-$1.zip" -d "$work/$1-zip" || fail "cannot unpack the $1 zip"
  zip_files="$work/$1-zip/Brantle-$version-$1"
  local f
  for f in brantle.exe quellon.chm; do
    [ -f "$zip_files/$f" ] || fail "the $1 zip has no Brantle-$version-$1/$f"
  done
}

# --- the installed program ---------------------------------------------------
# Usage: start_installed ARCH; starts the program from its installed path
# and waits for its main window.
start_installed() {
  layout "$1"
  BRANTLE="$program_dir\\brantle.exe"
  start_app "$work/app-$1.log"
  probe wait-window "$TITLE" 30000 ||
    fail "$1: the installed program showed no window '$TITLE': $(cat "$work/app-$1.log")"
}

# Usage: opens_installed_help ARCH; the program finds the help file that
# the package put beside it.
opens_installed_help() {
  start_installed "$1"
  probe command "$TITLE" $ID_HELP_CONTENTS
  wait_viewer_on "$program_dir\\quellon.chm" 20 ||
    fail "$1: Help > Contents did not open $program_dir\\quellon.chm"
  close_viewer
  close_app
}

close_app() {
  probe close "$TITLE" >/dev/null 2>&1
  probe wait-gone "$TITLE" 10000 || fail "the main window did not close"
  wait_app_pids "" 10 || fail "brantle.exe did not end"
}

# Usage: record_full_screen AVI; a first recording, as AVI: the program
# asks for the output file and keeps it in its settings; Ctrl+B starts,
# Ctrl+E stops after about a second.
record_full_screen() {
  local avi_windows
  avi_windows=$(winepath -w "$1")
  reset_settings
  set_dword RegionType 2
  set_dword Minimize 1
  set_dword RecordAudio 0
  start_installed x64
  desktop_key ctrl+b || fail "no virtual desktop to type on"
  probe wait-dialog "$APP_NAME" 10000 || fail "Ctrl+B without an output file showed no message"
  probe click-button "$APP_NAME" 1
  probe wait-dialog "$OUTPUT_DIALOG" 5000 || fail "no output file dialog after the message"
  probe set-text "$OUTPUT_DIALOG" 1022 "$avi_windows" || fail "cannot type the path"
  probe click-button "$OUTPUT_DIALOG" 1
  probe wait-gone "$OUTPUT_DIALOG" 5000 || fail "OK did not close the output dialog"
  local deadline=$((SECONDS + 5))
  until [ "$(read_string SavePath)" = "$avi_windows" ]; do
    [ $SECONDS -ge $deadline ] && fail "the program did not save SavePath: '$(read_string SavePath)'"
    sleep 0.2
  done
  probe wait-status "$TITLE" 1 Recording 10000 || fail "the recording did not start"
  wait_frames_above 10 10 || fail "fewer than 11 frames recorded: $(probe status "$TITLE" 2)"
  desktop_key ctrl+e
  probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
  close_app
}

# Usage: check_film AVI; sets frames to the count ffmpeg decodes.
check_film() {
  [ -s "$1" ] || fail "no film at $1"
  local info
  info=$(ffprobe -v error -count_frames -select_streams v \
    -show_entries stream=codec_name,width,height,nb_read_frames -of default=nw=1 "$1")
  echo "$info"
  grep -qx codec_name=zmbv <<<"$info" || fail "the film is not ZMBV: $info"
  { grep -qx width=1024 <<<"$info" && grep -qx height=768 <<<"$info"; } || fail "not the full screen"
  ffmpeg -v error -i "$1" -f null - || fail "ffmpeg reports errors in the film"
  frames=$(sed -n 's/^nb_read_frames=//p' <<<"$info")
  [ "${frames:-0}" -gt 0 ] || fail "ffmpeg decodes no frames"
}

# Usage: reader_decodes AVI FRAMES; through the installed codec alone, to
# exactly ffmpeg's frames.
reader_decodes() {
  local avi=$1 frames=$2
  wine_logged "$work/reader.log" "$reader" "$(winepath -w "$avi")" \
    "$(winepath -w "$work/reader.raw")" || fail "the reader did not decode the film through the codec"
  tr -d '\r' <"$work/reader.log" | grep -qx "decompressor: .* (brzmbv.dll)" ||
    fail "the decompressor found is not the installed brzmbv.dll"
  tr -d '\r' <"$work/reader.log" | grep -qx "frames decoded: $frames" ||
    fail "the reader did not decode the $frames frames ffmpeg does"
  # The reader's frames are bottom-up with a fourth byte; ffmpeg's top-down.
  ffmpeg -v error -y -f rawvideo -pix_fmt bgr0 -s 1024x768 -i "$work/reader.raw" -vf vflip \
    -f rawvideo -pix_fmt bgr24 "$work/reader.bgr24" || fail "cannot turn the reader's frames"
  ffmpeg -v error -y -i "$avi" -f rawvideo -pix_fmt bgr24 "$work/ffmpeg.bgr24" ||
    fail "ffmpeg did not decode the film"
  cmp -s "$work/reader.bgr24" "$work/ffmpeg.bgr24" ||
    fail "the installed codec's frames differ from ffmpeg's: $(cmp "$work/reader.bgr24" "$work/ffmpeg.bgr24")"
  rm -f "$work/reader.raw" "$work/reader.bgr24" "$work/ffmpeg.bgr24"
}

# --- x64 ----------------------------------------------------------------------
test_x64() {
  local package="$dist/Brantle-$version-x64.msi" avi="$work/x64.avi" code
  use_fresh_prefix prefix64
  unzip_package x64
  code=$(msi_property "$package" ProductCode)
  [ -n "$code" ] || fail "no ProductCode in $package"

  install "$package" x64-install
  check_installed x64 "$package" "$work/x64-install.log" "$zip_files"
  opens_installed_help x64
  install "$package" x64-again
  expect_one_entry "$code" "$product_version"

  record_full_screen "$avi"
  check_film "$avi"
  reader_decodes "$avi" "$frames"

  uninstall "$package" x64-uninstall
  check_removed x64 "$work/x64-install.log"
  [ "$(read_string SavePath)" = "$(winepath -w "$avi")" ] ||
    fail "the settings the program wrote are gone after the uninstall"
  wine_logged "$work/reader-after.log" "$reader" "$(winepath -w "$avi")" \
    "$(winepath -w "$work/reader.raw")" >/dev/null
  [ $? = 2 ] || fail "after the uninstall the reader did not end with 'no decompressor'"
  echo "x64: installed, $frames frames recorded by the installed program and decoded by its codec" \
    "as ffmpeg does, removed with the settings kept"
}

# Another build of this version, and a higher version, made from the zip's
# binaries, each replace what is installed; the dist package is then older.
test_upgrades() {
  local package="$dist/Brantle-$version-x64.msi" rebuilt="$work/rebuilt.msi" newer="$work/newer.msi"
  local next="${product_version%.*}.$((${product_version##*.} + 1))"
  "$root/packaging/build-msi.sh" x64 "$product_version" "$zip_files" "$rebuilt" ||
    fail "cannot build another package of $product_version"
  "$root/packaging/build-msi.sh" x64 "$next" "$zip_files" "$newer" ||
    fail "cannot build a package of $next"
  local code rebuilt_code newer_code
  code=$(msi_property "$package" ProductCode)
  rebuilt_code=$(msi_property "$rebuilt" ProductCode)
  newer_code=$(msi_property "$newer" ProductCode)
  [ "$code" != "$rebuilt_code" ] || fail "two builds have the same ProductCode $code"

  install "$package" upgrade-first
  install "$rebuilt" upgrade-rebuilt
  expect_one_entry "$rebuilt_code" "$product_version"
  install "$newer" upgrade-newer
  expect_one_entry "$newer_code" "$next"
  check_installed_files_only x64 "$zip_files"
  # Refused by the package's condition: ERROR_INSTALL_FAILURE (1603, 67 as a
  # Unix exit status), with the newer product found.
  run_msiexec "$work/upgrade-older.log" /i "$(winepath -w "$package")"
  local status=$?
  [ $status = 67 ] || fail "installing the older package over $next ended with $status, not 1603"
  tr -d '\r' <"$work/upgrade-older.log" |
    grep -qx "Property(S): BRANTLE_NEWER_INSTALLED = $newer_code" ||
    fail "the older package did not find $next installed"
  expect_one_entry "$newer_code" "$next"
  uninstall "$newer" upgrade-uninstall
  check_removed x64 "$work/upgrade-first.log"
  echo "upgrades: $product_version rebuilt and $next each replaced the installed one," \
    "$product_version refused over $next, nothing left after the uninstall"
}

# Usage: check_installed_files_only ARCH FILES_DIR; the binaries and the
# codec's value after an upgrade.
check_installed_files_only() {
  local f
  layout "$1"
  for f in brantle.exe hook.dll brzmbv.dll; do
    cmp -s "$2/$f" "$program_unix/$f" || fail "$1: $program_dir\\$f is missing after the upgrade"
  done
  [ -f "$system_unix/brzmbv.dll" ] || fail "$1: no brzmbv.dll in $system_unix after the upgrade"
  [ "$(codec_value "$view")" = brzmbv.dll ] || fail "$1: vidc.zmbv is gone after the upgrade"
}

# Another program's ZMBV codec, registered before ours: installing and
# removing the package leave its value as it was, and put nothing of ours
# into the system folder.
test_foreign_codec() {
  local package="$dist/Brantle-$version-x64.msi" other=othzmbv.dll
  use_fresh_prefix prefix-foreign
  layout x64
  wine reg add "$drivers" /v vidc.zmbv /t REG_SZ /d $other /f /reg:64 >"$work/reg.log" 2>&1 ||
    fail "cannot register the other codec: $(cat "$work/reg.log")"
  install "$package" foreign-install
  [ "$(logged_property "$work/foreign-install.log" ZMBV_CODEC_BEFORE)" = $other ] ||
    fail "the installer did not find the other codec"
  [ -f "$program_unix/brantle.exe" ] || fail "the program was not installed beside the other codec"
  [ "$(codec_value 64)" = $other ] || fail "vidc.zmbv is '$(codec_value 64)' after the install, not $other"
  [ ! -e "$system_unix/brzmbv.dll" ] || fail "brzmbv.dll went into $system_unix though unregistered"
  uninstall "$package" foreign-uninstall
  [ "$(codec_value 64)" = $other ] || fail "vidc.zmbv is '$(codec_value 64)' after the uninstall, not $other"
  [ ! -e "$program_unix" ] || fail "$program_dir is still there"
  echo "foreign codec: vidc.zmbv stayed $other through the install and the uninstall"
}

# --- x86 ----------------------------------------------------------------------
test_x86() {
  local package="$dist/Brantle-$version-x86.msi"
  use_fresh_prefix prefix32
  unzip_package x86
  install "$package" x86-install
  check_installed x86 "$package" "$work/x86-install.log" "$zip_files"
  reset_settings
  start_installed x86
  close_app
  uninstall "$package" x86-uninstall
  check_removed x86 "$work/x86-install.log"
  echo "x86: installed, the program showed its window, removed"
}

if [ "$arch" = x64 ]; then
  test_x64
  test_upgrades
  test_foreign_codec
else
  test_x86
fi
