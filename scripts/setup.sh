#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build, run and test the
# recorder. Safe to run again: apt-get skips what is already there.
# chromium is the browser that judges the files we share; it brings
# fonts-liberation on most desktops, so the tests run with those fonts
# (Wine's windows then draw their text in them) and must hold without.
# clang and its runtime build the ZMBV decoder's fuzzer (libFuzzer).
# nasm and dpkg-dev (dpkg-source) build the encoders from Debian's source
# packages (third_party/build.sh, which needs no root itself).
# fp-utils has chmcmd, which compiles the help file; libchm-bin's
# extract_chmLib reads it back in the tests.
set -eu

PACKAGES="cmake make g++ \
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev \
  googletest libgtest-dev zlib1g-dev \
  wine wine64 xvfb x11-utils x11-apps xterm xdotool imagemagick \
  pulseaudio pulseaudio-utils sox ffmpeg mpv fonts-wqy-microhei procps python3 \
  wixl msitools zip unzip chromium fonts-liberation clang libclang-rt-14-dev \
  nasm dpkg-dev xz-utils fp-utils libchm-bin"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
    || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
