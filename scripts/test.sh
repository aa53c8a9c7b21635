#!/usr/bin/env bash
# Runs every test of both builds and ends with one line "summary: N passed, N failed" (and
# ", N skipped" when ctest skipped any); exits non-zero on any failure. Each test has a time
# limit (scripts/time-limits.sh), so a run never hangs.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/time-limits.sh
build=$(realpath -m "${BUILD:-build}")
logs="$build/test-logs"
mkdir -p "$logs"

passed=0
failed=0
skipped=0
status=0
reports=()

# Adds the counts of ctest's JUnit report $1; a run that left none did not finish.
count() {
  local counts run_passed run_failed run_skipped
  if ! counts=$(python3 scripts/ctest-counts.py "$1" 2>/dev/null); then
    echo "error: no test report: the tests did not run to their end; see ${1%.xml}.log"
    failed=$((failed + 1))
    status=1
    return
  fi
  reports+=("$1")
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

# The Windows tests run in sessions of scripts/wine.sh. While the native and release tests
# run, the Wine prefixes of both passes are made (32-bit programs set up first), then the
# Windows tests are listed once: GoogleTest's discovery writes the lists into the build, which
# two passes listing at once would both write.
prepare_windows() {
  scripts/wine.sh prepare "" winxp &&
    scripts/wine.sh ctest --test-dir "$build/windows-test" -N >"$logs/windows-list.log"
}
prepare_windows >"$logs/windows-prepare.log" 2>&1 </dev/null &
prepared=$!

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

# The Windows tests: every test in Wine's default prefix, and the end-to-end tests again in a
# prefix where Wine reports Windows XP. The two passes run at the same time, each a session of
# its own (prefix, display and wineserver), once the tests are listed. Both drive the 32-bit
# programs users get.
echo "== Windows tests under Wine, on the shipped 32-bit programs ($build/windows)"
windows_pass() { # NAME VERSION CTEST-ARGUMENTS...: in the background, its output in its log
  local name=$1 version=$2
  shift 2
  rm -f "$logs/$name.xml"
  scripts/wine.sh --windows "$version" ctest --test-dir "$build/windows-test" \
    --output-on-failure --timeout "$VEMO_TEST_SECONDS" --output-junit "$logs/$name.xml" "$@" \
    >"$logs/$name.log" 2>&1 </dev/null &
}
# Shows log $1 while pass $2 runs, then counts its report.
show_pass() {
  tail -n +1 -f --pid="$2" "$logs/$1.log"
  wait "$2" || status=1
  count "$logs/$1.xml"
}
if [ ! -f "$build/windows-test/CTestTestfile.cmake" ]; then
  wait "$prepared"
  echo "error: no Windows test build in $build/windows-test"
  failed=$((failed + 1))
  status=1
elif wait "$prepared"; then
  cat "$logs/windows-prepare.log"
  windows_pass windows ""
  first=$!
  windows_pass windows-xp winxp -R '^e2e\.' -E '^e2e\.Release\.'
  second=$!
  show_pass windows $first
  echo "== the end-to-end tests again, with Wine reporting Windows XP (run at the same time)"
  show_pass windows-xp $second
else
  cat "$logs/windows-prepare.log"
  echo "error: the Windows tests were not listed: no Windows test can run" \
    "(see $logs/windows-prepare.log and $logs/windows-list.log)"
  failed=$((failed + 1))
  status=1
fi

# What each failed test printed, again at the end, where a reader of the log looks first.
if [ "$failed" -gt 0 ]; then
  echo
  echo "== what the failed tests printed (the whole output is in $logs)"
  for report in "${reports[@]}"; do python3 scripts/ctest-counts.py --failures "$report"; done
fi

echo
if [ "$skipped" -eq 0 ]; then
  echo "summary: $passed passed, $failed failed"
else
  echo "summary: $passed passed, $failed failed, $skipped skipped"
fi
[ "$failed" -eq 0 ] || status=1
exit $status
