// How much of the fonts vemofix --suggest reads, and how long its scan of a fonts folder
// takes: every file under the folder, named as the suggestion reads them (SuggestRows with
// one entry that no font has, so that every file is read); and how long the window's check
// of the font list takes to open over the same folder (the table's rows applied, then
// CheckFontList over entries of Japanese fonts, one of them no font has). Prints for
// scripts/bench.sh:
//   fonts FILES FONT-FILES TOTAL-BYTES BYTES-READ MEDIAN-MS BEST-MS RUNS
//   check ROWS MEDIAN-MS BEST-MS RUNS
//   vemo_bench_fonts [FOLDER [RUNS]]   (default /usr/share/fonts, 15 runs after a warm one)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fontfix/font_list_check.h"
#include "fontfix/suggest.h"
#include "fontfix/table_file.h"
#include "platform/file_ranges.h"
#include "platform/posix/file_ranges_posix.h"
#include "platform/posix/native_path.h"

namespace vemo::bench {
namespace {

// The system's files, every byte read from them counted.
class CountedRanges : public FileRanges {
 public:
  std::unique_ptr<OpenFile> Open(const std::wstring& path) override {
    return std::make_unique<File>(files_.Open(path), bytesRead);
  }
  std::vector<std::wstring> FilesUnder(const std::wstring& folder) override {
    return files_.FilesUnder(folder);
  }

  std::uint64_t bytesRead = 0;

 private:
  class File : public OpenFile {
   public:
    File(std::unique_ptr<OpenFile> file, std::uint64_t& count)
        : file_(std::move(file)), count_(count) {}
    std::uint64_t Size() const override { return file_->Size(); }
    std::string Read(std::uint64_t offset, std::size_t length) override {
      std::string bytes = file_->Read(offset, length);
      count_ += bytes.size();
      return bytes;
    }

   private:
    std::unique_ptr<OpenFile> file_;
    std::uint64_t& count_;
  };

  PosixFileRanges files_;
};

// The median and the best of `runs` warm runs of `run`, after one that warms the cache.
template <typename Run>
std::pair<double, double> Timed(int runs, Run run) {
  std::vector<double> ms;
  for (int i = 0; i <= runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (i > 0) ms.push_back(elapsed);
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front()};
}

// The window's check over `sources`: a list like the demo's, the demo table's rows.
int MeasureCheck(const FontSources& sources, int runs) {
  // CP932: ＭＳ明朝, IPAゴシック, IPA P明朝, VL Pゴシック, Noto Sans CJK JP, ありえない.
  const std::string names[] = {"\x82\x6C\x82\x72\x96\xBE\x92\xA9",
                               "IPA\x83\x53\x83\x56\x83\x62\x83\x4E",
                               "IPA P\x96\xBE\x92\xA9",
                               "VL P\x83\x53\x83\x56\x83\x62\x83\x4E",
                               "Noto Sans CJK JP",
                               "\x82\xA0\x82\xE8\x82\xA6\x82\xC8\x82\xA2"};
  std::string list = "%!Adobe-FontList 1.13\r\n";
  for (const std::string& name : names)
    list += "%BeginFont\r\nFontName:" + name + "\r\n%EndFont\r\n";
  FontTable table;
  (void)ParseFontTable(names[0] + ",MS-Mincho\r\n", table);
  PosixFileRanges files;
  std::size_t rows = 0;
  const auto [median, best] = Timed(runs, [&] {
    const RewriteResult rewrite = RewriteFontList(list, table);
    rows = CheckFontList(rewrite, list, sources, files).rows.size();
  });
  if (rows != std::size(names)) return 1;
  std::printf("check %zu %.2f %.2f %d\n", rows, median, best, runs);
  return 0;
}

}  // namespace
}  // namespace vemo::bench

int main(int argc, char** argv) {
  using namespace vemo;
  const std::string folder = argc > 1 ? argv[1] : "/usr/share/fonts";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
  const FontTable table;
  // ありえない in CP932: a name no font has.
  const std::string list = "FontName:\x82\xA0\x82\xE8\x82\xA6\x82\xC8\x82\xA2\r\n";
  FontSources sources;
  sources.folders = {WideFromUtf8(folder)};
  sources.outlinePath = [](std::string_view) { return std::wstring(); };

  std::uint64_t total = 0;
  std::size_t files = 0;
  PosixFileRanges plain;
  for (const std::wstring& path : plain.FilesUnder(sources.folders[0])) {
    ++files;
    total += static_cast<std::uint64_t>(std::filesystem::file_size(NativePath(path)));
  }

  std::vector<double> ms;
  std::uint64_t bytesRead = 0;
  std::size_t fontFiles = 0;
  for (int i = 0; i <= runs; ++i) {
    bench::CountedRanges counted;
    const auto start = std::chrono::steady_clock::now();
    const Suggestions found = SuggestRows(RewriteFontList(list, table), sources, counted);
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (found.entries.size() != 1 || found.entries[0].result != SuggestResult::kNone) return 1;
    if (i > 0) ms.push_back(elapsed);  // the first run warms the cache
    bytesRead = counted.bytesRead;
    fontFiles = found.fontFiles;
  }
  std::sort(ms.begin(), ms.end());
  std::printf("fonts %zu %zu %llu %llu %.2f %.2f %d\n", files, fontFiles,
              static_cast<unsigned long long>(total), static_cast<unsigned long long>(bytesRead),
              ms[ms.size() / 2], ms.front(), runs);
  return bench::MeasureCheck(sources, runs);
}
