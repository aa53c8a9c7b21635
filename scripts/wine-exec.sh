#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the project's prefix: the Windows
# tests' emulator. Needs a display: scripts/test.sh provides one with Xvfb when there is none.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
. "$(dirname "$0")/wine32-setup.sh" || exit 1
"$(dirname "$0")/wine-prefix.sh" || exit 1

# Wine's background processes (wineserver, services, the desktop) inherit standard output
# and error and outlive the program; a caller reading them through a pipe (ctest does)
# would wait for them. So the output goes to files and is copied out once wine returns.
out=$(mktemp "${TMPDIR:-/tmp}/vemo-wine.XXXXXX")
# A program that hangs is ended here, before ctest's own limit would end only this script and
# leave the program running (scripts/time-limits.sh). A test that starts programs many times
# over says so with VEMO_LONG_TEST.
limit=$VEMO_WINE_SECONDS
[ -z "${VEMO_LONG_TEST:-}" ] || limit=$VEMO_LONG_WINE_SECONDS
timeout -k 5 "$limit" "$WINE64" "$@" >"$out" 2>"$out.err" </dev/null &
child=$!
trap 'kill $child 2>/dev/null; rm -f "$out" "$out.err"' EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
wait $child
rc=$?
cat "$out"
cat "$out.err" >&2
exit $rc
