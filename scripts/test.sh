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

# One CTest project over the host and win64 trees, so one summary ends the run.
cat >"$root/build/CTestTestfile.cmake" <<'CTEST'
subdirs("host")
subdirs("win64")
CTEST
# The whole run may take longer than the environment's own limit (30 minutes
# by default), which would cut it off.
export TESTENV_TIMEOUT=${TESTENV_TIMEOUT:-4800}
exec "$root/scripts/testenv.sh" "$root/build/win64" \
  ctest --test-dir "$root/build" --output-on-failure "$@"
