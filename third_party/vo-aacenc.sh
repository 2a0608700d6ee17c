# shellcheck shell=bash
# vo-aacenc (Apache-2.0): the static library, with the configure script the
# upstream tarball ships (Debian's package regenerates it with autoreconf; the
# two agree for this use, and no autotools are needed).
# Sourced by third_party/build.sh. Every step is chained
# with &&: the caller tests the status, which turns set -e off in here.
# Usage: build_vo_aacenc SRC_DIR TRIPLET PREFIX
build_vo_aacenc() {
  local src=$1 triplet=$2 prefix=$3
  cd "$src" &&
    ./configure --host="$triplet" --prefix="$prefix" --enable-static --disable-shared \
      --disable-dependency-tracking CC="$triplet-gcc-posix" CFLAGS="-O2" &&
    make -j"$(nproc)" &&
    make install &&
    rm -f "$prefix"/lib/*.la &&
    # Apache-2.0 section 4 (d): the NOTICE travels with the binaries.
    install -D -m 644 NOTICE "$prefix/share/doc/vo-aacenc/NOTICE" &&
    install -D -m 644 COPYING "$prefix/share/doc/vo-aacenc/COPYING" &&
    install -D -m 644 debian/copyright "$prefix/share/doc/vo-aacenc/copyright"
}
