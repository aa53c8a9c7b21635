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
    echo "error: no test report: the tests did not run to their end; see ${1%.xml}.log"
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

# 32-bit programs are set up to start first (natively, or through qemu: scripts/wine32-setup.sh
# says), then the Wine prefixes of both passes of the Windows tests are made in the background
# while the native tests run.
make_prefixes() {
  VEMO_WINDOWS_VERSION="" scripts/wine-prefix.sh &
  local default=$!
  VEMO_WINDOWS_VERSION=winxp scripts/wine-prefix.sh
  local xp=$?
  wait $default && [ $xp -eq 0 ]
}
if . scripts/wine32-setup.sh; then
  make_prefixes >"$logs/prefixes.log" 2>&1 </dev/null &
  prefixes=$!
else
  echo "error: 32-bit programs cannot start here: no Windows test can run" >"$logs/prefixes.log"
  (exit 1) &
  prefixes=$!
fi

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
# prefix where Wine reports Windows XP. The two passes run at the same time, each with its own
# prefix, display and wineserver (scripts/windows-pass.sh); the second starts once the first
# has listed the tests. Both drive the 32-bit programs users get.
echo "== Windows tests under Wine, on the shipped 32-bit programs ($build/windows)"
windows_pass() { # NAME VERSION CTEST-ARGUMENTS...: in the background, its output in its log
  local name=$1
  shift
  rm -f "$logs/$name.xml" "$logs/$name.xml.listed"
  scripts/windows-pass.sh "$logs/$name.xml" "$@" >"$logs/$name.log" 2>&1 </dev/null &
}
# Shows log $1 while pass $2 runs, then counts its report.
show_pass() {
  tail -n +1 -f --pid="$2" "$logs/$1.log"
  wait "$2" || status=1
  count "$logs/$1.xml"
}
if [ ! -f "$build/windows-test/CTestTestfile.cmake" ]; then
  echo "error: no Windows test build in $build/windows-test"
  failed=$((failed + 1))
elif wait "$prefixes"; then
  cat "$logs/prefixes.log"
  windows_pass windows ""
  first=$!
  # The second pass starts once the first has listed the tests, or not at all.
  while kill -0 $first 2>/dev/null && [ ! -e "$logs/windows.xml.listed" ]; do sleep 0.2; done
  second=""
  if [ -e "$logs/windows.xml.listed" ]; then
    windows_pass windows-xp winxp -R '^e2e\.' -E '^e2e\.Release\.'
    second=$!
  fi
  show_pass windows $first
  if [ -n "$second" ]; then
    echo "== the end-to-end tests again, with Wine reporting Windows XP (run at the same time)"
    show_pass windows-xp $second
  fi
else
  cat "$logs/prefixes.log"
  echo "error: the Wine prefixes were not made (see $logs/prefixes.log)"
  failed=$((failed + 1))
  status=1
fi

echo
if [ "$skipped" -eq 0 ]; then
  echo "summary: $passed passed, $failed failed"
else
  echo "summary: $passed passed, $failed failed, $skipped skipped"
fi
[ "$failed" -eq 0 ] || status=1
exit $status
