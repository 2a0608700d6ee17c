#!/bin/bash
# Fetches the Debian source packages named in third_party/versions with apt's
# own source download, unpacks them with dpkg-source (Debian's patches
# applied) and builds static libraries for 64- and 32-bit Windows with the
# MinGW-w64 "-posix" compilers, into a cache outside the clone:
#
#   CACHE/apt/                        apt's state for the download: our own
#                                     source list (the machine's Debian
#                                     mirror, as deb-src), lists and cache
#   CACHE/PACKAGE-VERSION/source/     the .dsc, .orig.tar.* and .debian.tar.*
#                                     built (scripts/package.sh ships them)
#   CACHE/PACKAGE-VERSION/TRIPLET/    include/ and lib/ of one build
#
# where CACHE is ${XDG_CACHE_HOME:-$HOME/.cache}/brantle/third_party and
# VERSION is the Debian version without its epoch. A build that is already
# complete (its .complete names the library's recipe) is left alone, so
# fresh clones and CI on the same machine reuse it. Needs no root: the
# machine's apt configuration is read, never changed. nasm and dpkg-dev come
# from scripts/setup.sh.
#
# Usage: third_party/build.sh           build what is missing
#        third_party/build.sh --dir     print CACHE (for CMake) and exit
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/brantle/third_party
triplets="x86_64-w64-mingw32 i686-w64-mingw32"

if [ "${1:-}" = --dir ]; then
  echo "$cache"
  exit 0
fi

# shellcheck source=third_party/x264.sh
source "$here/x264.sh"
# shellcheck source=third_party/vo-aacenc.sh
source "$here/vo-aacenc.sh"

mkdir -p "$cache"
# One build at a time per user, whichever clone starts it.
exec 9>"$cache/.lock"
flock 9

# What a finished build records: a change to the library's recipe builds it
# again.
recipe() { sha256sum <"$here/$1.sh" | cut -d' ' -f1; }

# apt with a state of our own under CACHE/apt; the machine's sources,
# preferences and settings are only read.
apt_dir="$cache/apt"
apt_options=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State=$apt_dir/state"
  -o "Dir::State::Lists=$apt_dir/state/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Get::Only-Source=true"
)
# As root, apt would download as the user _apt, who cannot write into root's
# cache; a normal user's apt downloads as that user anyway.
[ "$(id -u)" -eq 0 ] && apt_options+=(-o "APT::Sandbox::User=root")
apt_updated=""
apt_update() {
  [ -n "$apt_updated" ] && return 0
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/state/lists/partial" \
    "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  # The machine's Debian mirror and suites, as source entries.
  local machine=/etc/apt/sources.list.d/debian.sources
  if [ -r "$machine" ]; then
    sed 's/^Types:.*/Types: deb-src/' "$machine" >"$apt_dir/sources.list.d/debian.sources"
  else
    cat >"$apt_dir/sources.list.d/debian.sources" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  fi
  echo "third_party: apt-get update (source lists, into $apt_dir)"
  apt-get "${apt_options[@]}" -q update >"$apt_dir/update.log" 2>&1 || {
    cat "$apt_dir/update.log" >&2
    echo "third_party: apt-get update failed" >&2
    exit 1
  }
  apt_updated=1
}

# Usage: fetch PACKAGE DEBIAN_VERSION DIR
# Leaves the source package's files in DIR/source.
fetch() {
  local package=$1 version=$2 dir=$3
  local dsc="$dir/source/${package}_${version#*:}.dsc"
  [ -f "$dsc" ] && return 0
  apt_update
  local scratch
  scratch=$(mktemp -d "$dir/source.XXXXXX")
  echo "third_party: fetching the source package $package $version"
  (cd "$scratch" && apt-get "${apt_options[@]}" -q source --download-only \
    "$package=$version" >fetch.log 2>&1) || {
    cat "$scratch/fetch.log" >&2
    echo "third_party: apt-get source $package=$version failed (is it still in bookworm?" \
      "apt-cache showsrc $package lists what is)" >&2
    exit 1
  }
  rm -f "$scratch/fetch.log"
  rm -rf "$dir/source"
  mv "$scratch" "$dir/source"
}

# Usage: build PACKAGE DEBIAN_VERSION DIR TRIPLET
build() {
  local package=$1 version=$2 dir=$3 triplet=$4
  local out="$dir/$triplet" stamp
  stamp="$(recipe "$package")"
  if [ -f "$out/.complete" ] && [ "$(cat "$out/.complete")" = "$stamp" ]; then
    return 0
  fi
  fetch "$package" "$version" "$dir"
  local work start log="$dir/$triplet.log"
  work=$(mktemp -d "$dir/build.XXXXXX")
  start=$(date +%s)
  echo "third_party: building $package $version for $triplet (log: $log)"
  # In a subshell: the recipe changes into the source folder.
  if ! (
    dpkg-source -x "$dir/source/${package}_${version#*:}.dsc" "$work/src" &&
      "build_${package//-/_}" "$work/src" "$triplet" "$work/prefix"
  ) >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "third_party: building $package for $triplet failed; the whole log is $log" >&2
    rm -rf "$work"
    exit 1
  fi
  rm -rf "$work/prefix/lib/pkgconfig" "$out"
  echo "$stamp" >"$work/prefix/.complete"
  mv "$work/prefix" "$out"
  rm -rf "$work"
  echo "third_party: $package for $triplet built in $(($(date +%s) - start)) s"
}

while IFS='=' read -r package version; do
  case $package in '' | '#'*) continue ;; esac
  dir="$cache/$package-${version#*:}"
  mkdir -p "$dir"
  for triplet in $triplets; do
    build "$package" "$version" "$dir" "$triplet"
  done
done <"$here/versions"
