// vemofix on Linux and other POSIX systems: UTF-8 arguments, paths and output.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/vemofix.h"
#include "errors/report_error.h"
#include "fontfix/list_location.h"
#include "platform/posix/file_ranges_posix.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/running_programs_posix.h"
#include "platform/posix/workstation_posix.h"
#include "platform/path.h"
#include "platform/posix/native_path.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "platform/virtualization.h"

namespace vemo::cli {
namespace {

class Utf8Console : public Console {
 public:
  void Out(std::wstring_view text) override { Write(stdout, text); }
  void Err(std::wstring_view text) override { Write(stderr, text); }

 private:
  static void Write(std::FILE* stream, std::wstring_view text) {
    const std::string bytes = Utf8FromWide(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
  }
};

std::optional<std::wstring> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return WideFromUtf8(value);
}

}  // namespace
}  // namespace vemo::cli

int main(int argc, char** argv) {
  using namespace vemo;
  using namespace vemo::cli;
  Utf8Console console;
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(WideFromUtf8(argv[i]));

  Environment environment;
  environment.language =
      IsJapaneseLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"))
          ? Language::kJapanese
          : Language::kEnglish;
  environment.separator = L'/';
  environment.winePrefix = WinePrefix(Variable("WINEPREFIX"), Variable("HOME"));
  if (const auto& prefix = environment.winePrefix) {
    environment.defaultFolder = InWinePrefix(*prefix, kDefaultListFolder);
    environment.fontFolders.push_back(InWinePrefix(*prefix, L"C:\\windows\\Fonts"));
  }
  try {
    environment.programFolder = ProgramFolder();
  } catch (const RuntimeError& error) {
    console.Err(ErrorMessageText(error.Number()) + L"\n");
    return kRuntimeError;
  }
  PosixFileSystem files;
  PosixFileRanges fonts;
  // Wine virtualizes nothing.
  NoVirtualization virtualization;
  PosixRunningPrograms programs;
  PosixWorkstation workstation;
  return RunVemofix(args, environment,
                    {files, virtualization, fonts, programs, workstation, console});
}
