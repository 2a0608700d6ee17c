#!/bin/bash
# Builds optimised, stripped release binaries for 64- and 32-bit Windows and
# makes what a Windows user installs, in dist/:
#   Brantle-1.80-x64.msi, Brantle-1.80-x86.msi   Windows Installer packages
#   Brantle-1.80-x64.zip, Brantle-1.80-x86.zip   portable: the three binaries,
#                                                README.txt and LICENSE.txt
# The release trees are build/release-win64 and build/release-win32; the
# files of each package are gathered in build/package/ARCH first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=1.80
product_version=1.80.0
dist="$root/dist"
jobs=${JOBS:-2}

"$root/scripts/setup.sh"

# Usage: build_release TOOLCHAIN BUILD_DIR
# -static must be given again: these flags replace the toolchain's initial
# ones, and without it the binaries would need the MinGW runtime DLLs.
build_release() {
  cmake -S "$root" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$1" \
    -DCMAKE_BUILD_TYPE=Release -DBRANTLE_WINDOWS_TESTS=OFF \
    "-DCMAKE_EXE_LINKER_FLAGS=-static -s" "-DCMAKE_SHARED_LINKER_FLAGS=-static -s" >/dev/null
  cmake --build "$2" -j"$jobs" --target brantle brzmbv
}

# Fails unless FILE imports only DLLs that Windows has, and hook.dll.
check_imports() {
  local file=$1 objdump=$2 foreign
  foreign=$("$objdump" -p "$file" | sed -n 's/^\tDLL Name: //p' |
    grep -viE '^(advapi32|comctl32|comdlg32|dsound|gdi32|kernel32|msvcrt|msvfw32|ole32|shell32|user32|winmm|hook)\.dll$' |
    tr '\n' ' ' || true)
  if [ -n "$foreign" ]; then
    echo "package.sh: $(basename "$file") needs DLLs that Windows lacks:" "$foreign" >&2
    exit 1
  fi
}

# Text files for Windows users: CR LF line ends.
crlf() { sed 's/\r$//; s/$/\r/' "$1"; }

# Usage: package ARCH BUILD_DIR OBJDUMP
package() {
  local arch=$1 build=$2 objdump=$3
  local stage="$root/build/package/$arch"
  local name="Brantle-$version-$arch"
  rm -rf "$stage"
  mkdir -p "$stage/$name"
  cp "$build/brantle.exe" "$build/hook.dll" "$build/codecs/brzmbv/brzmbv.dll" "$stage/$name/"
  for f in brantle.exe hook.dll brzmbv.dll; do check_imports "$stage/$name/$f" "$objdump"; done
  crlf "$root/LICENSE" >"$stage/$name/LICENSE.txt"
  sed "s/@VERSION@/$version/; s/@ARCH@/$arch/" "$root/packaging/README.txt" |
    crlf /dev/stdin >"$stage/$name/README.txt"

  rm -f "$dist/$name.msi" "$dist/$name.zip"
  "$root/packaging/build-msi.sh" "$arch" "$product_version" "$stage/$name" "$dist/$name.msi"
  # The zip unpacks into a folder of its own.
  (cd "$stage" && zip -q -X -r "$dist/$name.zip" "$name")
}

mkdir -p "$dist"
build_release mingw-x86_64.cmake "$root/build/release-win64"
build_release mingw-i686.cmake "$root/build/release-win32"
package x64 "$root/build/release-win64" x86_64-w64-mingw32-objdump
package x86 "$root/build/release-win32" i686-w64-mingw32-objdump
ls -l "$dist"
