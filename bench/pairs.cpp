// The benchmark's ratios, each judged on interleaved pairs: A, B, A, B, ... with the ratio
// of every pair, so that a busy spell on the machine slows both halves of the pairs it falls
// in instead of deciding a target. Each compares two things done on this machine in this
// run, so that a target holds on any machine. Prints one line a ratio for scripts/bench.sh:
//   ratio NAME MEDIAN Q1 Q3 MIN MAX PAIRS
//   vemo_bench_pairs DIR PAIRS VEMOFIX PEER PEER-LIST PEER-TABLE   (work files under DIR)
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
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

// Runs a program to its end, its output dropped; a failure ends the benchmark.
void Spawn(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int status = 0;
  const bool ran = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                   waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!ran) {
    std::fprintf(stderr, "FAILED: %s did not finish its job\n", argv[0]);
    std::exit(1);
  }
}

// Where the runs find what they compare.
struct Programs {
  std::string vemofix;    // the optimised vemofix
  std::string peer;       // bench/peer.pl
  std::string peerList;   // the list and the table vemofix and the peer are compared on
  std::string peerTable;  // (bench/make_list.py)
};

// The runs the ratios compare, on lists of 12,500, 25,000 and 50,000 entries and on the peer's
// list, in a folder of their own.
class Runs {
 public:
  Runs(const std::string& root, Programs programs)
      : root_(root.begin(), root.end()), programs_(std::move(programs)) {
    std::filesystem::create_directories(root + "/TypeSpt");
    std::filesystem::create_directories(root + "/tool");
    for (int entries : {12500, 25000, 50000})
      lists_[entries] = std::make_unique<GeneratedList>(GenerateList(entries));
    const std::string& list = programs_.peerList;
    peerList_ = files_.ReadWholeFile(std::wstring(list.begin(), list.end()));
    std::filesystem::copy_file(programs_.peerTable, NativePath(TablePath()),
                               std::filesystem::copy_options::overwrite_existing);
  }

  const std::string& List(int entries) const { return lists_.at(entries)->list; }
  const std::string& PeerList() const { return peerList_; }

  // A whole FixFontList, from a fresh list and no backup.
  Timed Fix(int entries) {
    return Timed{Fresh(List(entries)), [this, entries] {
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

  // A plain pass over the same bytes in memory: its line ends counted.
  Timed LineEnds(int entries) {
    return Timed{[] {},
                 [this, entries] {
                   if (std::count(List(entries).begin(), List(entries).end(), '\n') == 0)
                     std::exit(1);
                 }};
  }

  // The least any run must do: copy the list once, read it once, put it back in place once.
  Timed Floor(const std::string& list) {
    return Timed{Fresh(list), [this] {
                   files_.CopyWholeFile(ListPath(), BackupPath());
                   files_.ReplaceWholeFile(ListPath(), files_.ReadWholeFile(ListPath()));
                 }};
  }

  // vemofix, a process of its own, on the peer's list and table.
  Timed Vemofix() {
    return Timed{
        Fresh(peerList_), [this] {
          Spawn({programs_.vemofix, "--quiet", "--folder", NativePath(root_ + L"/TypeSpt"),
                 "--table", NativePath(TablePath()), "--backup-dir", NativePath(root_ + L"/tool")});
        }};
  }

  // The perl peer on the same list and table, writing its result beside the list.
  Timed Peer() {
    return Timed{Fresh(peerList_), [this] {
                   Spawn({"perl", programs_.peer, NativePath(TablePath()), NativePath(ListPath()),
                          NativePath(PeerOutPath())});
                 }};
  }

  // After a run of each from the same list: vemofix left the list the peer wrote, and the
  // backup is the list as it was.
  bool VemofixAgreesWithThePeer() {
    Peer().Ms();
    Vemofix().Ms();
    return files_.ReadWholeFile(ListPath()) == files_.ReadWholeFile(PeerOutPath()) &&
           files_.ReadWholeFile(BackupPath()) == peerList_;
  }

 private:
  std::wstring ListPath() const { return root_ + L"/TypeSpt\\AdobeFnt05.lst"; }
  std::wstring BackupPath() const { return root_ + L"/tool\\AdobeFnt05.lst のバックアップ"; }
  std::wstring TablePath() const { return root_ + L"/tool\\Fonts.txt"; }
  std::wstring PeerOutPath() const { return root_ + L"/peer-out.lst"; }

  // The list in place as `list`, and no backup.
  std::function<void()> Fresh(const std::string& list) {
    return [this, &list] {
      WriteFile(NativePath(ListPath()), list);
      std::filesystem::remove(NativePath(BackupPath()));
    };
  }

  std::wstring root_;
  Programs programs_;
  std::map<int, std::unique_ptr<GeneratedList>> lists_;
  std::string peerList_;
  PosixFileSystem files_;
  NoVirtualization virtualization_;
};

}  // namespace
}  // namespace vemo::bench

int main(int argc, char** argv) {
  using namespace vemo::bench;
  if (argc != 7) {
    std::fputs("usage: vemo_bench_pairs DIR PAIRS VEMOFIX PEER PEER-LIST PEER-TABLE\n", stderr);
    return 2;
  }
  // Fresh memory for every run, as a real run has (see rewrite_bench.cpp).
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  const int pairs = std::atoi(argv[2]);
  const std::string root = std::filesystem::absolute(argv[1]).string();
  const auto absolute = [](const char* path) { return std::filesystem::absolute(path).string(); };
  {
    Runs runs(root,
              Programs{absolute(argv[3]), absolute(argv[4]), absolute(argv[5]), absolute(argv[6])});
    Report("FixFontList/floor", runs.Fix(50000), runs.Floor(runs.List(50000)), pairs);
    Report("Rewrite/line-ends", runs.Rewrite(50000), runs.LineEnds(50000), pairs);
    Report("growth-Rewrite-12500-25000", runs.Rewrite(25000), runs.Rewrite(12500), pairs);
    Report("growth-Rewrite-25000-50000", runs.Rewrite(50000), runs.Rewrite(25000), pairs);
    Report("growth-FixFontList-12500-25000", runs.Fix(25000), runs.Fix(12500), pairs);
    Report("growth-FixFontList-25000-50000", runs.Fix(50000), runs.Fix(25000), pairs);
    Report("vemofix/floor", runs.Vemofix(), runs.Floor(runs.PeerList()), pairs);
    Report("perl/vemofix", runs.Peer(), runs.Vemofix(), pairs);
    if (!runs.VemofixAgreesWithThePeer()) {
      std::fputs("FAILED: vemofix and the perl peer leave different lists\n", stderr);
      return 1;
    }
  }
  std::filesystem::remove_all(root);
  return 0;
}
