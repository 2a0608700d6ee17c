# shellcheck shell=bash
# x264 (GPL-2.0-or-later): the static library only, 8-bit, with nasm's
# assembly, Win32 threads (no pthread DLL or library needed), no CLI and
# none of the optional inputs.
# Sourced by third_party/build.sh. Every step is chained
# with &&: the caller tests the status, which turns set -e off in here.
# Usage: build_x264 SRC_DIR TRIPLET PREFIX
build_x264() {
  local src=$1 triplet=$2 prefix=$3
  cd "$src" &&
    CC="$triplet-gcc-posix" ./configure --host="$triplet" --cross-prefix="$triplet-" \
      --prefix="$prefix" --enable-static --disable-cli --bit-depth=8 --disable-opencl \
      --disable-avs --disable-swscale --disable-lavf --disable-ffms --disable-gpac \
      --disable-lsmash --disable-bashcompletion &&
    make -j"$(nproc)" &&
    make install-lib-static &&
    # The licence and copyright record that travel with the binaries.
    install -D -m 644 COPYING "$prefix/share/doc/x264/COPYING" &&
    install -D -m 644 debian/copyright "$prefix/share/doc/x264/copyright"
}
