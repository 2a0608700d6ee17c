#!/bin/bash
# Installs what is missing, builds the recorder and starts it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
echo "The recorder's main window is not built yet: so far there are the settings," \
  "the recording state and the border window, which the tests exercise" \
  "(scripts/test.sh)."
