// How much of the fonts vemofix --suggest reads, and how long its scan of a fonts folder
// takes: every file under the folder, named as the suggestion reads them (SuggestRows with
// one entry that no font has, so that every file is read). Prints for scripts/bench.sh:
//   fonts FILES FONT-FILES TOTAL-BYTES BYTES-READ MEDIAN-MS BEST-MS RUNS
//   vemo_bench_fonts [FOLDER [RUNS]]   (default /usr/share/fonts, 15 runs after a warm one)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fontfix/suggest.h"
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
  return 0;
}
