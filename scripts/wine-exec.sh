#!/usr/bin/env bash
# CMake's emulator for the Windows test build (cmake/mingw-w64-i686-tests.cmake): starts one
# program of the build under Wine, in the session of scripts/wine.sh that ctest runs in
#   scripts/wine.sh ctest --test-dir build/windows-test [CTEST ARGUMENTS...]
# (scripts/test.sh does that for make test). It sets nothing up: outside a session, with no
# prepared prefix or no display, it says so and starts nothing.
set -uo pipefail
. "$(dirname "$0")/time-limits.sh"
# Said on standard output, the only one GoogleTest's discovery shows when the listing fails.
if [ ! -f "${WINEPREFIX:-/nonexistent}/.vemo-ready" ] || [ -z "${DISPLAY:-}" ]; then
  echo "error: no Wine session (prefix: ${WINEPREFIX:-none}, display: ${DISPLAY:-none}):" \
    "run ctest through scripts/wine.sh"
  exit 1
fi

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
