#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the project's prefix: the Windows
# tests' emulator. Needs a display: scripts/test.sh provides one with Xvfb when there is none.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
"$(dirname "$0")/wine-prefix.sh" || exit 1

# Wine's background processes (wineserver, services, the desktop) inherit standard output
# and error and outlive the program; a caller reading them through a pipe (ctest does)
# would wait for them. So the output goes to files and is copied out once wine returns.
out=$(mktemp "${TMPDIR:-/tmp}/vemo-wine.XXXXXX")
trap 'rm -f "$out" "$out.err"' EXIT
wine "$@" >"$out" 2>"$out.err" </dev/null
rc=$?
cat "$out"
cat "$out.err" >&2
exit $rc
