#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the project's prefix (the tests'
# emulator). Needs a display: scripts/test.sh provides one with Xvfb when there is none.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
"$(dirname "$0")/wine-prefix.sh"
exec wine "$@"
