// vemofix.exe: a console program (the build links with -municode, so the entry is wmain).
#include <windows.h>

#include <string>
#include <vector>

#include "cli/vemofix.h"
#include "errors/report_error.h"
#include "fontfix/list_location.h"
#include "platform/font_folders.h"
#include "platform/known_folders.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "platform/win32/dll_search_win.h"
#include "platform/win32/file_ranges_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/running_programs_win.h"
#include "platform/win32/virtualization_win.h"
#include "platform/win32/workstation_win.h"

namespace vemo::cli {
namespace {

// A console gets UTF-16 through WriteConsoleW, so every name shows whatever the code page;
// redirected output gets the console's code page (or the system's), with CR LF line ends.
class WindowsConsole : public Console {
 public:
  void Out(std::wstring_view text) override { Write(::GetStdHandle(STD_OUTPUT_HANDLE), text); }
  void Err(std::wstring_view text) override { Write(::GetStdHandle(STD_ERROR_HANDLE), text); }

 private:
  static void Write(HANDLE handle, std::wstring_view text) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
      ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      return;
    }
    std::wstring lines;
    for (wchar_t c : text) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0) codePage = ::GetACP();
    const int size = static_cast<int>(lines.size());
    const int length =
        ::WideCharToMultiByte(codePage, 0, lines.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, lines.data(), size, bytes.data(), length, nullptr, nullptr);
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
};

}  // namespace
}  // namespace vemo::cli

int wmain(int argc, wchar_t** argv) {
  // Before anything loads a DLL: the shell, for the default folder, is the first.
  vemo::LoadDllsFromSystemFolderOnly();

  using namespace vemo;
  using namespace vemo::cli;
  WindowsConsole console;
  const std::vector<std::wstring> args(argv + 1, argv + argc);

  Win32FileSystem files;
  Win32FileRanges fonts;
  Win32Virtualization virtualization;
  Win32RunningPrograms programs;
  Win32Workstation workstation;
  Environment environment;
  environment.language = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE
                             ? Language::kJapanese
                             : Language::kEnglish;
  environment.separator = L'\\';
  environment.fontFolders = FontFolders();
  try {
    // The window's start folder; the version stays Illustrator 10 unless --illustrator says
    // otherwise, so that a script's call means the same list on every computer.
    IllustratorFileSystem illustratorFiles(files, virtualization);
    environment.defaultFolder =
        ChooseStartList(CommonFiles32Folder(), illustratorFiles, FolderExists).folder;
    environment.programFolder = ProgramFolder();
  } catch (const RuntimeError& error) {
    console.Err(ErrorMessageText(error.Number()) + L"\n");
    return kRuntimeError;
  }
  return RunVemofix(args, environment,
                    {files, virtualization, fonts, programs, workstation, console});
}
