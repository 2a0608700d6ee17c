#!/bin/bash
# Configures and builds the three trees under build/:
#   host   native unit tests (plain and sanitized)
#   win64  the program and the Windows tests (MinGW-w64 x86_64)
#   win32  the program for 32-bit Windows (MinGW-w64 i686), warnings as errors
# The Windows trees get the encoders of third_party/build.sh (x264 and
# vo-aacenc from Debian's source packages, built once per machine into the
# user's cache), and with them the converter.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/third_party/build.sh"
third_party=$("$root/third_party/build.sh" --dir)

configure_and_build() {
  local tree=$1
  shift
  cmake -S "$root" -B "$root/build/$tree" -G "Unix Makefiles" "$@" >/dev/null
  cmake --build "$root/build/$tree" -j"$jobs"
}

configure_and_build host -DCMAKE_BUILD_TYPE=Debug
configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRANTLE_THIRD_PARTY_DIR="$third_party"
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRANTLE_WINDOWS_TESTS=OFF \
  -DBRANTLE_THIRD_PARTY_DIR="$third_party"
