// Peak memory of one FixFontList run, in a process of its own so that nothing else has
// touched memory before it:
//   vemo_bench_memory generate ENTRIES DIR   writes DIR/TypeSpt/AdobeFnt05.lst and
//   DIR/tool/Fonts.txt vemo_bench_memory measure DIR            loads the table, runs FixFontList,
//   prints
//                                            "<list bytes> <peak KiB before> <peak KiB after>"
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/list_generator.h"
#include "bench/write_file.h"
#include "fontfix/fix_font_list.h"
#include "fontfix/table_file.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/native_path.h"
#include "platform/virtualization.h"

namespace vemo::bench {
namespace {

long PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int Generate(int entries, const std::string& dir) {
  std::filesystem::create_directories(dir + "/TypeSpt");
  std::filesystem::create_directories(dir + "/tool");
  const GeneratedList g = GenerateList(entries);
  WriteFile(dir + "/TypeSpt/AdobeFnt05.lst", g.list);
  WriteFile(dir + "/tool/Fonts.txt", g.tableText);
  std::filesystem::remove(dir + "/tool/AdobeFnt05.lst のバックアップ");
  return 0;
}

int Measure(const std::string& dir) {
  const std::wstring wdir(dir.begin(), dir.end());
  PosixFileSystem files;
  static FontTable table;
  if (!LoadFontTable(wdir + L"/tool\\Fonts.txt", table, files)) return 1;
  const auto listBytes = std::filesystem::file_size(dir + "/TypeSpt/AdobeFnt05.lst");
  const long before = PeakKib();
  const FixFontListInput input{true, wdir + L"/TypeSpt", wdir + L"/tool"};
  NoVirtualization virtualization;
  if (!FixFontList(input, table, files, virtualization).rewrite) return 1;
  std::printf("%llu %ld %ld\n", static_cast<unsigned long long>(listBytes), before, PeakKib());
  return 0;
}

}  // namespace
}  // namespace vemo::bench

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "generate" && argc == 4) return vemo::bench::Generate(std::atoi(argv[2]), argv[3]);
  if (mode == "measure" && argc == 3) return vemo::bench::Measure(argv[2]);
  std::fputs("usage: vemo_bench_memory generate ENTRIES DIR | measure DIR\n", stderr);
  return 2;
}
