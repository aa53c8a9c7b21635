#!/usr/bin/env bash
# Runs every test of both builds and ends with one line "summary: N passed, N failed" (and
# ", N skipped" when ctest skipped any); exits non-zero on any failure. Each test has a time
# limit (scripts/time-limits.sh), so a run never hangs.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
build=$build_dir
logs="$build/test-logs"
mkdir -p "$logs"

passed=0
failed=0
skipped=0
status=0

# Adds the counts of ctest's JUnit report $1; a run that left none did not finish.
count() {
  local counts run_passed run_failed run_skipped
  if ! counts=$(python3 scripts/ctest-counts.py "$1" 2>/dev/null); then
    echo "error: ctest did not finish; see ${1%.xml}.log"
    failed=$((failed + 1))
    status=1
    return
  fi
  read -r run_passed run_failed run_skipped <<<"$counts"
  [ "$counts" != "0 0 0" ] || echo "(no tests in this build)"
  passed=$((passed + run_passed))
  failed=$((failed + run_failed))
  skipped=$((skipped + run_skipped))
}

# Runs "$@", a command that ends in a call of ctest, with its output in log $1 and ctest's
# JUnit report beside it, then counts the report.
run_ctest() {
  local log=$1 report=${1%.log}.xml
  shift
  rm -f "$report"
  run_logged "$log" "$@" --output-junit "$report" || status=1
  count "$report"
}

# Runs "$@" with its output in log $1 while showing it. No pipe: Wine's background processes
# inherit the output and would keep a pipe open after the tests end.
run_logged() {
  local log=$1
  shift
  : >"$log"
  "$@" >"$log" 2>&1 &
  local pid=$!
  tail -n +1 -f --pid=$pid "$log"
  wait $pid
}

echo "== native unit tests"
if [ -f "$build/native-test/CTestTestfile.cmake" ]; then
  run_ctest "$logs/native.log" ctest --test-dir "$build/native-test" --output-on-failure -j2 \
    --timeout "$VEMO_NATIVE_TEST_SECONDS"
else
  echo "error: no native test build in $build/native-test"
  failed=$((failed + 1))
fi

# What users get, as they get it: the optimised vemofix end to end, make install, the release
# zip, and the Windows programs built again in another folder giving the same zip.
echo "== release"
release_test() { # NAME COMMAND...
  local name=$1
  shift
  if run_logged "$logs/$name.log" "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $name (see $logs/$name.log)"
    failed=$((failed + 1))
    status=1
  fi
}
release_test release-vemofix bash tests/cli/vemofix_test.sh "$build/native/vemofix"
release_test install bash tests/cli/install_test.sh
release_test dist python3 tests/dist/dist_test.py "$build/windows"
release_test dist-check bash -c 'scripts/dist.py "$0/windows" "$0/dist" && scripts/dist-check.sh' "$build"

# Runs ctest of the Windows test build with arguments "$@" under Wine, its output in log $1,
# on the display there is or under Xvfb. The wineserver is warm for the whole run and ended
# with it: a wineserver outlives its display, and the next run may have another.
run_windows() {
  local log=$1
  shift
  local windows_ctest=(ctest --test-dir "$build/windows-test" --output-on-failure
    --timeout "$VEMO_TEST_SECONDS" "$@")
  # One program started and ended before the first test: the display's Wine desktop is up
  # before any test starts a program.
  local session=(bash -c '"$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null; exec "$@"' warm-up)
  wineserver -p >/dev/null 2>&1 </dev/null
  if [ -n "${DISPLAY:-}" ]; then
    run_ctest "$log" "${session[@]}" "${windows_ctest[@]}"
  else
    run_ctest "$log" xvfb-run -a -s '-screen 0 1280x1024x24' "${session[@]}" "${windows_ctest[@]}"
  fi
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# What Wine reports as the Windows version: "" for its default.
set_windows_version() {
  if [ -n "$1" ]; then
    "$WINE64" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$1" /f >/dev/null 2>&1
  else
    "$WINE64" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
  fi
  wineserver -w >/dev/null 2>&1 || true
}

# What the Windows tests drive: the 32-bit programs users get, or, where those start only under
# qemu, a 64-bit build of the same sources with smoke tests of the 32-bit programs.
if grep -q 'mingw-w64-i686-tests' "$build/windows-test/CMakeCache.txt" 2>/dev/null; then
  windows_drive="the shipped 32-bit programs ($build/windows)"
else
  windows_drive="a 64-bit build of the same sources (smoke32: the shipped 32-bit programs)"
fi
echo "== Windows tests under Wine, on $windows_drive"
if [ -f "$build/windows-test/CTestTestfile.cmake" ]; then
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  if scripts/wine-prefix.sh && . scripts/wine32-setup.sh; then
    set_windows_version ""
    run_windows "$logs/windows.log"
    echo "== the end-to-end tests again, with Wine reporting Windows XP"
    set_windows_version winxp
    run_windows "$logs/windows-xp.log" -R '^e2e\.' -E '^e2e\.Release\.'
    set_windows_version ""
  else
    echo "error: Wine cannot start the programs"
    failed=$((failed + 1))
  fi
else
  echo "error: no Windows test build in $build/windows-test"
  failed=$((failed + 1))
fi

echo
echo "The Windows tests ran on $windows_drive."
if [ "$skipped" -eq 0 ]; then
  echo "summary: $passed passed, $failed failed"
else
  echo "summary: $passed passed, $failed failed, $skipped skipped"
fi
[ "$failed" -eq 0 ] || status=1
exit $status
