#!/usr/bin/env bash
# Runs every test of both builds and prints one summary; exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
build=${BUILD:-build}
logs="$build/test-logs"
mkdir -p "$logs"

passed=0
failed=0
status=0

count() {  # adds the counts of ctest's closing line in log $1
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    status=1
    return
  fi
  local total fails
  fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}

echo "== native unit tests"
ctest --test-dir "$build/native" --output-on-failure -j2 2>&1 | tee "$logs/native.log" || status=1
count "$logs/native.log"

echo "== Windows tests under Wine"
scripts/wine-prefix.sh
wineserver -p 2>/dev/null || true
run_windows() { ctest --test-dir "$build/windows" --output-on-failure; }
if [ -n "${DISPLAY:-}" ]; then
  run_windows 2>&1 | tee "$logs/windows.log" || status=1
else
  export -f run_windows
  export build
  xvfb-run -a -s '-screen 0 1280x1024x24' bash -c run_windows 2>&1 | tee "$logs/windows.log" || status=1
fi
count "$logs/windows.log"
wineserver -k 2>/dev/null || true

echo
echo "summary: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
