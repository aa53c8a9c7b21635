#!/usr/bin/env python3
"""Judges the benchmark that scripts/bench.sh ran: prints its tables and exits non-zero when a
target is missed. Arguments: Google Benchmark's JSON, the peak memory lines (entries, list
bytes, KiB before, KiB at the peak), the ratio lines of vemo_bench_pairs ("ratio NAME median
q1 q3 least most pairs") and the font scan's lines."""
import json
import sys

SIZES = (12500, 25000, 50000)


class Judge:
    def __init__(self, ratios):
        self.ratios = ratios
        self.missed = False

    def check(self, missed, what):
        if missed:
            print("  MISSED: " + what)
            self.missed = True

    def ratio(self, name, what, target=None):
        """A ratio judged on its pairs: the median, with the middle half and the whole range;
        at most `target`, or shown only."""
        if name not in self.ratios:
            self.check(True, "no pairs for " + name)
            return
        median, q1, q3, least, most, pairs = self.ratios[name]
        judged = "not a target" if target is None else f"target <= {target}"
        print(f"{what} = {median:.2f} ({judged}; middle half {q1:.2f}-{q3:.2f}, "
              f"all {least:.2f}-{most:.2f}, {pairs:d} pairs)")
        self.check(target is not None and median > target, what)


def best_times(path):
    """Milliseconds by "Bench/size": the best of the repeated runs, else the one run; and the
    names of the runs that reported an error."""
    times, failed = {}, []
    for run in json.load(open(path))["benchmarks"]:
        bench, size = run["name"].split("/")[:2]
        key = bench[len("BM_"):] + "/" + size
        if run.get("error_occurred"):
            failed.append(key)
        if run.get("aggregate_name", "best") == "best":
            times[key] = float(run["real_time"])
    return times, failed


def read_lines(path):
    return [line.split() for line in open(path, encoding="utf-8") if line.strip()]


def report_speeds(ms, list_bytes, judge):
    print(f"\n{'entries':<8} {'rewrite ms':>10} {'joined ms':>10} {'FixFontList ms':>14} "
          f"{'floor ms':>9} {'straightforward':>16} {'FixFontList/floor':>17}")
    for s in SIZES:
        print(f"{s:<8d} {ms[f'Rewrite/{s}']:10.2f} {ms[f'RewriteJoined/{s}']:10.2f} "
              f"{ms[f'FixFontList/{s}']:14.2f} {ms[f'Floor/{s}']:9.2f} "
              f"{ms[f'Straightforward/{s}']:16.0f} "
              f"{ms[f'FixFontList/{s}'] / ms[f'Floor/{s}']:17.2f}")
    gbps = list_bytes[50000] / ms["Rewrite/50000"] / 1e6
    joined = list_bytes[50000] / ms["RewriteJoined/50000"] / 1e6
    print(f"\nat 50,000 entries: rewrite {gbps:.2f} GB/s, joined into one string "
          f"{joined:.2f} GB/s (on this machine)")
    judge.ratio("Rewrite/line-ends", "at 50,000 entries: rewrite / counting the line ends", 10)
    speedup = ms["Straightforward/50000"] / ms["Rewrite/50000"]
    print(f"at 50,000 entries: straightforward / rewrite = {speedup:.0f} (target >= 100)")
    judge.check(speedup < 100, "against the plain method")
    judge.ratio("FixFontList/floor", "at 50,000 entries: FixFontList / floor", 1.25)
    for growing in ("Rewrite", "FixFontList"):
        for small, large in zip(SIZES, SIZES[1:]):
            judge.ratio(f"growth-{growing}-{small}-{large}",
                        f"growth of {growing} from {small} to {large} entries", 2.2)


def report_memory(list_bytes, peak_kib, judge):
    print(f"\n{'entries':<10} {'list MB':>12} {'peak growth MB':>16} {'growth/list':>14}")
    for s in SIZES:
        growth = peak_kib[s] * 1024
        print(f"{s:<10d} {list_bytes[s] / 1e6:12.1f} {growth / 1e6:16.1f} "
              f"{growth / list_bytes[s]:14.2f}")
    share = peak_kib[50000] * 1024 / list_bytes[50000]
    print(f"at 50,000 entries: peak memory / list = {share:.2f} (target <= 1.5)")
    judge.check(share > 1.5, "peak memory")


def report_fonts(line, judge):
    files, fonts, total, read = int(line[1]), int(line[2]), float(line[3]), float(line[4])
    median, best, runs = float(line[5]), float(line[6]), int(line[7])
    print(f"\nvemofix --suggest over /usr/share/fonts: {files:d} files ({fonts:d} fonts, "
          f"{total / 1e6:.1f} MB), read {read / 1e3:.1f} KB = {100 * read / total:.3f}% "
          f"(target <= 1%)")
    judge.check(read > 0.01 * total, "bytes read of the fonts")
    print(f"the scan: median {median:.1f} ms, best {best:.1f} ms of {runs:d} warm runs "
          f"(target <= 500 ms)")
    judge.check(median > 500, "time of the font scan")


def report_check(line, judge):
    rows, median, best, runs = int(line[1]), float(line[2]), float(line[3]), int(line[4])
    print(f"the window's check of the list ({rows:d} rows) over the same fonts: median "
          f"{median:.1f} ms, best {best:.1f} ms of {runs:d} warm runs (target <= 1000 ms)")
    judge.check(median > 1000, "time to open the check of the list")


def main(results, memory, ratios, fonts):
    pairs = {f[1]: tuple(map(float, f[2:7])) + (int(f[7]),) for f in read_lines(ratios)}
    judge = Judge(pairs)
    ms, failed = best_times(results)
    for name in failed:
        print(f"FAILED: {name} reported an error")
        judge.missed = True
    list_bytes = {int(f[0]): int(f[1]) for f in read_lines(memory)}
    peak_kib = {int(f[0]): int(f[3]) - int(f[2]) for f in read_lines(memory)}
    report_speeds(ms, list_bytes, judge)
    report_memory(list_bytes, peak_kib, judge)
    print()
    judge.ratio("vemofix/floor", "at 50,000 entries: vemofix / floor", 1.25)
    judge.ratio("perl/vemofix", "vemofix against the perl peer, times faster")
    report_fonts(read_lines(fonts)[0], judge)
    report_check(read_lines(fonts)[1], judge)
    print("\nsome targets missed" if judge.missed else "\nall targets met")
    return 1 if judge.missed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
