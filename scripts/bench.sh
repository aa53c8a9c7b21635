#!/usr/bin/env bash
# Runs the font list rewrite's benchmark built by `make bench`, prints the times, the
# ratios and the peak memory, and exits non-zero when a target is missed:
#   - the whole FixFontList within 3 times the floor (copy + read + write of the list);
#   - the rewrite at least 100 times faster than the plain method (rescan per row);
#   - time growing linearly: doubling the list at most 2.2 times the time;
#   - peak memory of a FixFontList run below 3 times the list's size.
# Ratios and memory are checked at 50,000 entries (about 20 MB); 12,500 and 25,000 show
# the growth.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build}/bench"
work="$build/work"
json="$build/bench-results.json"
rm -rf "$work"
mkdir -p "$work"

echo "== benchmark (the plain method runs once per size and takes most of the time)"
VEMO_BENCH_DIR="$work" "$build/bench/vemo_bench" --benchmark_out="$json" \
  --benchmark_out_format=json

echo
echo "== peak memory of one FixFontList run, each in a process of its own"
memory="$build/bench-memory.txt"
: >"$memory"
for entries in 12500 25000 50000; do
  "$build/bench/vemo_bench_memory" generate "$entries" "$work/memory-$entries"
  echo "$entries $("$build/bench/vemo_bench_memory" measure "$work/memory-$entries")" >>"$memory"
done
rm -rf "$work"

# Google Benchmark's JSON, one field a line: "name": "BM_Rewrite/12500/...", "real_time": 12.3
awk -v memory="$memory" '
  /"name":/ { gsub(/[",]/, "", $2); split($2, part, "/"); bench = substr(part[1], 4); size = part[2] }
  /"error_occurred": true/ { failed[bench "/" size] = 1 }
  /"real_time":/ { gsub(/,/, "", $2); ms[bench "/" size] = $2 + 0 }
  END {
    status = 0
    for (k in failed) { printf "FAILED: %s reported an error\n", k; status = 1 }
    sizes[1] = 12500; sizes[2] = 25000; sizes[3] = 50000
    printf "\n%-10s %12s %14s %12s %18s %16s\n", "entries", "rewrite ms", "FixFontList ms", "floor ms", "straightforward ms", "FixFontList/floor"
    for (i = 1; i <= 3; i++) {
      s = sizes[i]
      printf "%-10d %12.2f %14.2f %12.2f %18.0f %16.2f\n", s, ms["Rewrite/" s], ms["FixFontList/" s], ms["Floor/" s], ms["Straightforward/" s], ms["FixFontList/" s] / ms["Floor/" s]
    }
    floorRatio = ms["FixFontList/50000"] / ms["Floor/50000"]
    speedup = ms["Straightforward/50000"] / ms["Rewrite/50000"]
    printf "\nat 50,000 entries: FixFontList / floor = %.2f (target <= 3)\n", floorRatio
    if (floorRatio > 3) { print "  MISSED"; status = 1 }
    printf "at 50,000 entries: straightforward / rewrite = %.0f (target >= 100)\n", speedup
    if (speedup < 100) { print "  MISSED"; status = 1 }
    split("Rewrite FixFontList", growing, " ")
    for (g = 1; g <= 2; g++) {
      for (i = 2; i <= 3; i++) {
        r = ms[growing[g] "/" sizes[i]] / ms[growing[g] "/" sizes[i - 1]]
        printf "growth of %s from %d to %d entries: %.2f (target <= 2.2)\n", growing[g], sizes[i - 1], sizes[i], r
        if (r > 2.2) { print "  MISSED"; status = 1 }
      }
    }
    printf "\n%-10s %12s %16s %18s %14s\n", "entries", "list MB", "peak growth MB", "process peak MB", "growth/list"
    while ((getline line < memory) > 0) {
      split(line, f, " ")
      bytes = f[2]; growth = (f[4] - f[3]) * 1024; total = f[4] * 1024
      printf "%-10d %12.1f %16.1f %18.1f %14.2f\n", f[1], bytes / 1e6, growth / 1e6, total / 1e6, growth / bytes
      if (f[1] == 50000 && growth >= 3 * bytes) { print "  MISSED: peak memory at 50,000 entries"; status = 1 }
    }
    print (status == 0 ? "\nall targets met" : "\nsome targets missed")
    exit status
  }' "$json"
