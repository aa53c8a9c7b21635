#!/usr/bin/env bash
# One pass of the Windows tests under Wine:
#   scripts/windows-pass.sh REPORT VERSION [CTEST ARGUMENTS...]
# runs ctest of the Windows test build in the Wine prefix where Wine reports Windows VERSION
# ("" for Wine's default; scripts/wine-env.sh names the prefix after it), on an Xvfb display
# of the pass's own, with one wineserver kept warm for the pass and ended with it. ctest's
# JUnit report goes to REPORT; REPORT.listed appears once the tests are listed (GoogleTest's
# discovery writes the lists into the build), so that another pass may start then.
# Before any test, the shipped 32-bit vemofix.exe must print its version: where 32-bit programs
# cannot start, the pass stops at once (exit status 3) with Wine's own words, instead of every
# test waiting for a window that cannot come.
set -uo pipefail
cd "$(dirname "$0")/.."
report=$1
export VEMO_WINDOWS_VERSION=$2
shift 2
. scripts/wine-env.sh
build=$build_dir
rm -f "$report" "$report.listed"
. scripts/wine32-setup.sh || exit 1
scripts/wine-prefix.sh || exit 1

# A display of its own: Xvfb picks a free number and writes it once it takes clients.
number=$(mktemp "${TMPDIR:-/tmp}/vemo-display.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 </dev/null &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; kill $xvfb 2>/dev/null; rm -f "$number"' EXIT
deadline=$((SECONDS + VEMO_DISPLAY_SECONDS))
until [ -s "$number" ]; do
  if ! kill -0 $xvfb 2>/dev/null || [ $SECONDS -ge $deadline ]; then
    echo "error: Xvfb did not start"
    exit 1
  fi
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$number")"

# The wineserver stays for the pass, and the display's Wine desktop is up before any test.
wineserver -p >/dev/null 2>&1 </dev/null
"$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null

# One shipped 32-bit program starts, or nothing else will.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/windows/CMakeCache.txt")
started=$SECONDS
out=$(mktemp "${TMPDIR:-/tmp}/vemo-first-start.XXXXXX")
timeout -k 5 "$VEMO_FIRST_START_SECONDS" "$WINE64" "$build/windows/vemofix.exe" --version \
  >"$out" 2>&1 </dev/null
said=$(iconv -f CP932 -t UTF-8 -c "$out" | tr -d '\r')
rm -f "$out"
if [ -z "$version" ] || [ "$(head -n 1 <<<"$said")" != "$version" ]; then
  echo "error: the shipped 32-bit vemofix.exe does not start under Wine" \
    "(32-bit programs: ${VEMO_WINE32:-?}); it printed:"
  sed 's/^/  /' <<<"${said:-(nothing)}"
  echo "No Windows test can pass: the pass stops here."
  exit 3
fi
echo "32-bit programs start (${VEMO_WINE32:-?}): vemofix.exe --version printed $version" \
  "after $((SECONDS - started)) s"

ctest --test-dir "$build/windows-test" -N >/dev/null 2>&1
touch "$report.listed"
ctest --test-dir "$build/windows-test" --output-on-failure --timeout "$VEMO_TEST_SECONDS" \
  --output-junit "$report" "$@"
