#!/usr/bin/env bash
# Runs every test of both builds and ends with one line "summary: N passed, N failed";
# exits non-zero on any failure. Each test has a time limit, so a run never hangs.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
build=$build_dir
logs="$build/test-logs"
mkdir -p "$logs"

passed=0
failed=0
status=0

# Adds the counts of ctest's closing line in log $1 ("NN% tests passed, F tests failed out of T").
count() {
  local line fails total
  line=$(grep -aE 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    if grep -aq 'No tests were found' "$1"; then
      echo "(no tests in this build)"
    else
      echo "error: ctest did not finish; see $1"
      failed=$((failed + 1))
      status=1
    fi
    return
  fi
  fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - fails))
  failed=$((failed + fails))
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
  run_logged "$logs/native.log" ctest --test-dir "$build/native-test" --output-on-failure -j2 --timeout 300 ||
    status=1
  count "$logs/native.log"
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

echo "== Windows tests under Wine"
if [ -f "$build/windows/CTestTestfile.cmake" ]; then
  scripts/wine-prefix.sh || status=1
  # One warm wineserver for the whole run; ended at the end, for our prefix only.
  wineserver -p >/dev/null 2>&1 </dev/null
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  windows_ctest=(ctest --test-dir "$build/windows" --output-on-failure --timeout 120)
  if [ -n "${DISPLAY:-}" ]; then
    run_logged "$logs/windows.log" "${windows_ctest[@]}" || status=1
  else
    run_logged "$logs/windows.log" \
      xvfb-run -a -s '-screen 0 1280x1024x24' "${windows_ctest[@]}" || status=1
  fi
  count "$logs/windows.log"
  wineserver -k >/dev/null 2>&1 || true
else
  echo "error: no Windows build in $build/windows"
  failed=$((failed + 1))
fi

echo
echo "summary: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
