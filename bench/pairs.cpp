// The benchmark's ratios, each judged on interleaved pairs: A, B, A, B, ... with the ratio
// of every pair, so that a busy spell on the machine slows both halves of the pairs it falls
// in instead of deciding a target. Prints one line a ratio for scripts/bench.sh:
//   ratio NAME MEDIAN Q1 Q3 MIN MAX PAIRS
//   vemo_bench_pairs DIR [PAIRS]   (work files under DIR)
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/list_generator.h"
#include "bench/write_file.h"
#include "fontfix/fix_font_list.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/native_path.h"
#include "platform/virtualization.h"

namespace vemo::bench {
namespace {

// One timed run; `prepare` puts its files in place first, outside the timing.
struct Timed {
  std::function<void()> prepare;
  std::function<void()> run;

  double Ms() const {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
  }
};

void Report(const char* name, const Timed& a, const Timed& b, int pairs) {
  a.Ms();  // warm: the first run of each pays for first touches
  b.Ms();
  std::vector<double> ratios;
  for (int i = 0; i < pairs; ++i) {
    const double ms = a.Ms();
    ratios.push_back(ms / b.Ms());
  }
  std::sort(ratios.begin(), ratios.end());
  const auto at = [&](double q) { return ratios[static_cast<std::size_t>(q * (pairs - 1) + 0.5)]; };
  std::printf("ratio %s %.3f %.3f %.3f %.3f %.3f %d\n", name, at(0.5), at(0.25), at(0.75),
              ratios.front(), ratios.back(), pairs);
  std::fflush(stdout);
}

// The runs the ratios compare, on lists of 12,500, 25,000 and 50,000 entries in a folder of
// their own.
class Runs {
 public:
  explicit Runs(const std::string& root) : root_(root.begin(), root.end()) {
    std::filesystem::create_directories(root + "/TypeSpt");
    std::filesystem::create_directories(root + "/tool");
    for (int entries : {12500, 25000, 50000})
      lists_[entries] = std::make_unique<GeneratedList>(GenerateList(entries));
  }

  // A whole FixFontList, from a fresh list and no backup.
  Timed Fix(int entries) {
    return Timed{Fresh(entries), [this, entries] {
                   const FixFontListInput input{true, root_ + L"/TypeSpt", root_ + L"/tool"};
                   if (!FixFontList(input, lists_[entries]->table, files_, virtualization_).rewrite)
                     std::exit(1);
                 }};
  }

  // The rewrite in memory.
  Timed Rewrite(int entries) {
    return Timed{[] {},
                 [this, entries] {
                   const GeneratedList& g = *lists_[entries];
                   if (RewriteFontList(g.list, g.table).list.pieces.empty()) std::exit(1);
                 }};
  }

  // The least any run must do: copy the list once, read it once, put it back in place once.
  Timed Floor() {
    return Timed{Fresh(50000), [this] {
                   files_.CopyWholeFile(ListPath(), BackupPath());
                   files_.ReplaceWholeFile(ListPath(), files_.ReadWholeFile(ListPath()));
                 }};
  }

 private:
  std::wstring ListPath() const { return root_ + L"/TypeSpt\\AdobeFnt05.lst"; }
  std::wstring BackupPath() const { return root_ + L"/tool\\AdobeFnt05.lst のバックアップ"; }

  std::function<void()> Fresh(int entries) {
    return [this, entries] {
      WriteFile(NativePath(ListPath()), lists_[entries]->list);
      std::filesystem::remove(NativePath(BackupPath()));
    };
  }

  std::wstring root_;
  std::map<int, std::unique_ptr<GeneratedList>> lists_;
  PosixFileSystem files_;
  NoVirtualization virtualization_;
};

}  // namespace
}  // namespace vemo::bench

int main(int argc, char** argv) {
  using namespace vemo::bench;
  if (argc < 2) return 2;
  // Fresh memory for every run, as a real run has (see rewrite_bench.cpp).
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  const int pairs = argc > 2 ? std::atoi(argv[2]) : 15;
  const std::string root = std::filesystem::absolute(argv[1]).string();
  {
    Runs runs(root);
    Report("FixFontList/floor", runs.Fix(50000), runs.Floor(), pairs);
    Report("growth-Rewrite-12500-25000", runs.Rewrite(25000), runs.Rewrite(12500), pairs);
    Report("growth-Rewrite-25000-50000", runs.Rewrite(50000), runs.Rewrite(25000), pairs);
    Report("growth-FixFontList-12500-25000", runs.Fix(25000), runs.Fix(12500), pairs);
    Report("growth-FixFontList-25000-50000", runs.Fix(50000), runs.Fix(25000), pairs);
  }
  std::filesystem::remove_all(root);
  return 0;
}
