#!/bin/bash
# Installs what is missing, builds every tree and the packages in dist/, and
# runs every test (native unit tests, plain and sanitized; Windows tests and
# end-to-end tests under Wine) in one CTest run inside the private test
# environment.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# The install tests take the packages from dist/.
"$root/scripts/package.sh"

# One CTest project over the host and win64 trees, so one summary ends the
# run. The Windows tests come first, while the Wine services and desktop that
# the environment booted are still running: after the host tests' quarter
# minute without Wine, each Windows test started them anew with CTest's
# output pipe and kept CTest waiting about 20 s on it (measured).
cat >"$root/build/CTestTestfile.cmake" <<'CTEST'
subdirs("win64")
subdirs("host")
CTEST
# The whole run may take longer than the environment's own limit (30 minutes
# by default), which would cut it off.
export TESTENV_TIMEOUT=${TESTENV_TIMEOUT:-4800}
exec "$root/scripts/testenv.sh" "$root/build/win64" \
  ctest --test-dir "$root/build" --output-on-failure "$@"
