// Times the font list rewrite against the cost of the file work around it and against the
// plain method (rescan the whole list for every row). scripts/bench.sh reads the results.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "bench/list_generator.h"
#include "bench/write_file.h"
#include "fontfix/fix_font_list.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/native_path.h"
#include "platform/virtualization.h"
#include "tests/reference/straightforward_rewrite.h"

namespace vemo::bench {
namespace {

const GeneratedList& List(std::int64_t entries) {
  static std::map<std::int64_t, std::unique_ptr<GeneratedList>> lists;
  auto& list = lists[entries];
  if (!list)
    list = std::make_unique<GeneratedList>(GenerateList(static_cast<std::int32_t>(entries)));
  return *list;
}

std::size_t CountRenamed(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find(kRenamedMarker); at != std::string_view::npos;
       at = text.find(kRenamedMarker, at + 1))
    ++count;
  return count;
}

// The list's folder and the program's folder, under VEMO_BENCH_DIR.
struct Folders {
  std::string root;
  std::wstring listFolder;
  std::wstring programFolder;
  std::wstring listPath;
  std::wstring backupPath;

  Folders() {
    const char* dir = std::getenv("VEMO_BENCH_DIR");
    root = std::filesystem::absolute(dir ? dir : "bench-work").string();
    std::filesystem::create_directories(root + "/TypeSpt");
    std::filesystem::create_directories(root + "/tool");
    const std::wstring wroot(root.begin(), root.end());
    listFolder = wroot + L"/TypeSpt";
    programFolder = wroot + L"/tool";
    listPath = listFolder + L"\\AdobeFnt05.lst";
    backupPath = programFolder + L"\\AdobeFnt05.lst のバックアップ";
  }
};

const Folders& Dirs() {
  static const Folders folders;
  return folders;
}

// Puts the original list in place and removes the backup, outside the timing.
void FreshFiles(benchmark::State& state, const GeneratedList& g) {
  state.PauseTiming();
  WriteFile(NativePath(Dirs().listPath), g.list);
  std::filesystem::remove(NativePath(Dirs().backupPath));
  state.ResumeTiming();
}

// The rewrite as the program writes from it: pieces of the list as read and of the
// replacements, no joined copy.
void BM_Rewrite(benchmark::State& state) {
  const GeneratedList& g = List(state.range(0));
  RewriteResult out;
  for (auto _ : state) {
    out = RewriteFontList(g.list, g.table);
    benchmark::DoNotOptimize(out.list.pieces.data());
  }
  if (CountRenamed(out.list.Joined()) != FontTable::kRows)
    state.SkipWithError("not every row matched");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g.list.size()));
}

// The same joined into one string, as the tests and the fuzzer take it.
void BM_RewriteJoined(benchmark::State& state) {
  const GeneratedList& g = List(state.range(0));
  std::string out;
  for (auto _ : state) {
    out = RewriteFontList(g.list, g.table).list.Joined();
    benchmark::DoNotOptimize(out.data());
  }
  if (out != RewriteFontList(g.list, g.table).list.Joined())
    state.SkipWithError("the joined rewrite differs from its pieces");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g.list.size()));
}

void BM_FixFontList(benchmark::State& state) {
  const GeneratedList& g = List(state.range(0));
  PosixFileSystem files;
  NoVirtualization virtualization;
  const FixFontListInput input{true, Dirs().listFolder, Dirs().programFolder};
  for (auto _ : state) {
    FreshFiles(state, g);
    if (!FixFontList(input, g.table, files, virtualization).rewrite)
      state.SkipWithError("list missing");
  }
  const std::string written = files.ReadWholeFile(Dirs().listPath);
  if (CountRenamed(written) != FontTable::kRows || files.ReadWholeFile(Dirs().backupPath) != g.list)
    state.SkipWithError("the files are not as expected");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g.list.size()));
}

// The least any run must do: copy the list once, read it once, put it back in place once
// (with the same atomic, flushed replace the real run uses).
void BM_Floor(benchmark::State& state) {
  const GeneratedList& g = List(state.range(0));
  PosixFileSystem files;
  for (auto _ : state) {
    FreshFiles(state, g);
    files.CopyWholeFile(Dirs().listPath, Dirs().backupPath);
    const std::string content = files.ReadWholeFile(Dirs().listPath);
    files.ReplaceWholeFile(Dirs().listPath, content);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g.list.size()));
}

void BM_Straightforward(benchmark::State& state) {
  const GeneratedList& g = List(state.range(0));
  std::string out;
  for (auto _ : state) {
    out = reference::StraightforwardRewrite(g.list, g.table);
    benchmark::DoNotOptimize(out.data());
  }
  if (out != RewriteFontList(g.list, g.table).list.Joined())
    state.SkipWithError("the rewrite differs from the plain method");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(12500)->Arg(25000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Other programs share the machine: each timing is the best of ten runs, the run that they
// disturbed least.
void BestOfTen(benchmark::internal::Benchmark* b) {
  Sizes(b);
  b->MinTime(0.3)->Repetitions(10)->ReportAggregatesOnly(true)->ComputeStatistics(
      "best", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

BENCHMARK(BM_Rewrite)->Apply(BestOfTen);
BENCHMARK(BM_RewriteJoined)->Apply(BestOfTen);
BENCHMARK(BM_FixFontList)->Apply(BestOfTen);
BENCHMARK(BM_Floor)->Apply(BestOfTen);
BENCHMARK(BM_Straightforward)->Apply(Sizes)->Iterations(1);

}  // namespace
}  // namespace vemo::bench

// The program rewrites the list once per run, so every large buffer it makes is fresh
// memory that the system has to map. glibc would otherwise keep the freed buffers of one
// iteration for the next (its mmap threshold adapts upwards), which flatters whichever
// benchmark happens to fit under its trim threshold. A fixed threshold gives every
// iteration, of every benchmark, fresh memory as a real run has.
int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
