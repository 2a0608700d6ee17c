#!/bin/bash
# Builds the Windows Installer package of one architecture from a folder
# holding brantle.exe, hook.dll, brzmbv.dll and LICENSE.txt, with Debian's
# wixl. Where the folder also holds the converter, avi2mpg.exe, the package
# installs it with the licence texts scripts/package.sh puts beside it
# (GPL-2.txt, Apache-2.0.txt, THIRD-PARTY.txt).
# Usage: packaging/build-msi.sh x64|x86 VERSION BIN_DIR OUT.msi
# VERSION has three parts (1.80.0): the package's ProductVersion.
set -euo pipefail
if [ $# -ne 4 ]; then
  echo "usage: $0 x64|x86 VERSION BIN_DIR OUT.msi" >&2
  exit 2
fi
arch=$1 version=$2 bin_dir=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

case "$arch" in
  x64 | x86) ;;
  *)
    echo "build-msi.sh: no architecture '$arch' (x64 or x86)" >&2
    exit 2
    ;;
esac
for f in brantle.exe hook.dll brzmbv.dll LICENSE.txt; do
  [ -f "$bin_dir/$f" ] || {
    echo "build-msi.sh: $bin_dir/$f is missing" >&2
    exit 1
  }
done

# The converter and the licences that come with it: all or none.
converter=no
if [ -f "$bin_dir/avi2mpg.exe" ]; then
  for f in GPL-2.txt Apache-2.0.txt THIRD-PARTY.txt; do
    [ -f "$bin_dir/$f" ] || {
      echo "build-msi.sh: $bin_dir has avi2mpg.exe but no $f" >&2
      exit 1
    }
  done
  converter=yes
fi

IFS=. read -r major minor build extra <<<"$version"
if [ -n "${extra:-}" ] || ! [[ "$major.$minor.$build" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "build-msi.sh: the version '$version' is not of the form 1.80.0" >&2
  exit 2
fi
# Upgrades take in every build of this version: the bound just above it.
next_version="$major.$minor.$((build + 1))"

# wixl finds sources relative to the .wxs file and takes no absolute paths.
rel() { realpath --relative-to="$here" "$1"; }
mkdir -p "$(dirname "$out")"
bin_dir=$(realpath "$bin_dir")
out=$(realpath "$out")
# It also leaves a copy of each icon in the current folder: a scratch one.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
wixl -a "$arch" -D Arch="$arch" -D Version="$version" \
  -D NextVersion="$next_version" -D BinDir="$(rel "$bin_dir")" -D Converter="$converter" \
  -D IconFile="$(rel "$root/res/Brantle.ico")" -o "$out" "$here/Brantle.wxs"
# wixl has no component conditions: the codec's registration is kept to
# machines where vidc.zmbv names nothing or us (see Brantle.wxs).
msibuild "$out" -q "UPDATE \`Component\` SET \`Condition\` = \
'NOT ZMBV_CODEC_BEFORE OR ZMBV_CODEC_BEFORE ~= \"brzmbv.dll\"' WHERE \`Component\` = 'Codec'"
