#!/bin/bash
# Compiles the help file from the pages in this folder: the index comes from
# the pages' keywords (make_index.py), the contents from contents.hhc, the
# search index from the pages themselves. A page, picture or link that
# chmcmd cannot find fails the build instead of leaving a hole in the help.
# Usage: build_chm.sh HELP_SOURCE_DIR OUTPUT.chm
set -euo pipefail
src=$1
out=$2
stage="$out.pages"
rm -rf "$stage"
mkdir -p "$stage"
cp "$src"/*.html "$src/style.css" "$src/quellon.hhp" "$src/contents.hhc" "$stage/"
cp -r "$src/pictures" "$stage/"
python3 "$src/make_index.py" "$stage/index.hhk" "$src"/*.html
if ! (cd "$stage" && chmcmd --verbosity 1 quellon.hhp >chmcmd.log 2>&1) ||
  grep -qiE "^(warning|error)|unhandled exception" "$stage/chmcmd.log"; then
  cat "$stage/chmcmd.log" >&2
  echo "build_chm.sh: chmcmd could not compile the help" >&2
  exit 1
fi
mv "$stage/quellon.chm" "$out"
rm -rf "$stage"
