#!/bin/bash
# Builds optimised, stripped release binaries for 64- and 32-bit Windows and
# makes what a Windows user installs, in dist/:
#   Brantle-1.80-x64.msi, Brantle-1.80-x86.msi   Windows Installer packages
#   Brantle-1.80-x64.zip, Brantle-1.80-x86.zip   portable: the three binaries,
#                                                the help file quellon.chm,
#                                                README.txt and LICENSE.txt
# When the tree has the converter (the target avi2mpg, built only where
# third_party/build.sh's encoders are found), both packages also carry
# avi2mpg.exe beside brantle.exe, and with it the licences of what it links:
# GPL-2.txt (x264, GPL-2.0-or-later, which makes avi2mpg.exe as a whole
# GPL), Apache-2.0.txt (vo-aacenc) and THIRD-PARTY.txt (versions, Debian's
# copyright records, vo-aacenc's NOTICE); and dist/sources/ gets the exact
# Debian source packages (.dsc, .orig.tar.*, .debian.tar.*) that were built,
# beside our own source (git archive of HEAD).
# The release trees are build/release-win64 and build/release-win32; the
# files of each package are gathered in build/package/ARCH first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=1.80
product_version=1.80.0
dist="$root/dist"
jobs=${JOBS:-2}

"$root/scripts/setup.sh"
# The encoders (built once per machine, then taken from the cache).
"$root/third_party/build.sh"
third_party=$("$root/third_party/build.sh" --dir)

# Usage: build_release TOOLCHAIN BUILD_DIR
# -static must be given again: these flags replace the toolchain's initial
# ones, and without it the binaries would need the MinGW runtime DLLs.
build_release() {
  cmake -S "$root" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$1" \
    -DCMAKE_BUILD_TYPE=Release -DBRANTLE_WINDOWS_TESTS=OFF \
    -DBRANTLE_THIRD_PARTY_DIR="$third_party" \
    "-DCMAKE_EXE_LINKER_FLAGS=-static -s" "-DCMAKE_SHARED_LINKER_FLAGS=-static -s" >/dev/null
  local targets="brantle brzmbv"
  has_converter "$2" && targets="$targets avi2mpg"
  # shellcheck disable=SC2086
  cmake --build "$2" -j"$jobs" --target $targets
}

# Whether the tree BUILD_DIR has the converter's target.
has_converter() {
  local targets
  targets=$(cmake --build "$1" --target help)
  grep -qE '^\.\.\. avi2mpg( |$)' <<<"$targets"
}

# Usage: converter_file BUILD_DIR; prints the path of the built avi2mpg.exe.
converter_file() {
  find "$1" -name avi2mpg.exe -not -path '*/tests/*' -not -path '*/CMakeFiles/*' | head -n 1
}

# The Debian source packages built, from third_party/versions: their folders
# in the cache (PACKAGE-VERSION, the version without its epoch).
third_party_folders() {
  sed -n 's/^\([a-z0-9.+-]*\)=\([0-9]*:\)\{0,1\}\(.*\)$/\1-\3/p' "$root/third_party/versions"
}

# Usage: third_party_notice ARCH; the text of THIRD-PARTY.txt.
third_party_notice() {
  local folder
  cat <<NOTICE
Brantle for Windows $version ($1): the libraries the programs link

hook.dll and brzmbv.dll are Brantle's own code, under the MIT licence
(LICENSE.txt), as is the help file quellon.chm.

brantle.exe, the recorder, and avi2mpg.exe, the converter, are Brantle's
own code (MIT) linked with:

  x264, an H.264 encoder, licensed under the GNU General Public License,
  version 2 or later (GPL-2.txt);
  vo-aacenc, the VisualOn AAC encoder, licensed under the Apache License,
  version 2.0 (Apache-2.0.txt).

Because they link x264, brantle.exe and avi2mpg.exe as wholes are
distributed under the GNU General Public License, version 2 or later. Both libraries were built
unchanged from Debian 12 (bookworm) source packages, with Debian's patches
applied; these exact files, and Brantle's own source with the scripts
that build the libraries and the program (brantle-$version.tar.gz), are
distributed beside this package, in the folder "sources" of the release:

NOTICE
  local file
  for folder in $(third_party_folders); do
    for file in "$third_party/$folder/source/"*; do echo "  ${file##*/}"; done
  done
  for folder in $(third_party_folders); do
    for file in "$third_party/$folder/x86_64-w64-mingw32/share/doc/"*/{copyright,NOTICE}; do
      [ -f "$file" ] || continue
      printf '\n\n==== %s: %s ====\n\n' "$folder" "${file##*/}"
      cat "$file"
    done
  done
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
  cp "$build/brantle.exe" "$build/hook.dll" "$build/codecs/brzmbv/brzmbv.dll" "$build/quellon.chm" \
    "$stage/$name/"
  for f in brantle.exe hook.dll brzmbv.dll; do check_imports "$stage/$name/$f" "$objdump"; done
  crlf "$root/LICENSE" >"$stage/$name/LICENSE.txt"
  sed "s/@VERSION@/$version/; s/@ARCH@/$arch/" "$root/packaging/README.txt" |
    crlf /dev/stdin >"$stage/$name/README.txt"
  if has_converter "$build"; then
    cp "$(converter_file "$build")" "$stage/$name/avi2mpg.exe"
    check_imports "$stage/$name/avi2mpg.exe" "$objdump"
    crlf /usr/share/common-licenses/GPL-2 >"$stage/$name/GPL-2.txt"
    crlf /usr/share/common-licenses/Apache-2.0 >"$stage/$name/Apache-2.0.txt"
    third_party_notice "$arch" | crlf /dev/stdin >"$stage/$name/THIRD-PARTY.txt"
    copy_sources
  fi

  rm -f "$dist/$name.msi" "$dist/$name.zip"
  "$root/packaging/build-msi.sh" "$arch" "$product_version" "$stage/$name" "$dist/$name.msi"
  # The zip unpacks into a folder of its own.
  (cd "$stage" && zip -q -X -r "$dist/$name.zip" "$name")
}

# The exact source archives of the encoders, into dist/sources/ (once), and
# ours (the committed tree, HEAD), which the GPL asks for too: the
# converter's code and the scripts that build it and the libraries.
copy_sources() {
  [ -d "$dist/sources" ] && return 0
  mkdir -p "$dist/sources"
  local folder
  for folder in $(third_party_folders); do
    cp "$third_party/$folder/source/"* "$dist/sources/"
  done
  if git -C "$root" rev-parse --verify -q HEAD >/dev/null; then
    git -C "$root" archive --format=tar.gz --prefix="brantle-$version/" \
      -o "$dist/sources/brantle-$version.tar.gz" HEAD
  fi
}

mkdir -p "$dist"
rm -rf "$dist/sources"
build_release mingw-x86_64.cmake "$root/build/release-win64"
build_release mingw-i686.cmake "$root/build/release-win32"
package x64 "$root/build/release-win64" x86_64-w64-mingw32-objdump
package x86 "$root/build/release-win32" i686-w64-mingw32-objdump
ls -l "$dist"
