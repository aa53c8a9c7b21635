// A fresh program folder with its own copy of vemotool.exe and a target folder for the
// font lists, both under the temporary folder and removed at the end; plus the texts and
// CP932 bytes the tests share.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/resource.h"
#include "tests/e2e/driver.h"

// Interface texts compared as UTF-8, so that a failure shows them readably.
#define EXPECT_WEQ(expected, actual) \
  EXPECT_EQ(::vemo::e2e::Utf8(expected), ::vemo::e2e::Utf8(actual))

namespace vemo::e2e {

// Interface texts of the program.
inline const std::wstring kTitle = L"べもつーる";
inline const std::wstring kMainCaption = L"べもつーる - Illustratorの日本語フォント登録を修正";
inline const std::wstring kCompletion =
    L"処理が終了しました。Illustratorを起動して確認してください。";
inline const std::wstring kMissingList = L"次のファイルが存在しません。\r\n";
inline const std::wstring kBackupSuffix = L" のバックアップ";

// CP932 bytes of the font names the tests use, and the same names as interface text.
namespace cp932 {
inline constexpr std::string_view kMsMincho = "\x82\x6C\x82\x72\x96\xBE\x92\xA9";  // ＭＳ明朝
inline constexpr std::string_view kMsGothic =
    "\x82\x6C\x82\x72\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳゴシック
inline constexpr std::string_view kHeisei = "\x95\xBD\x90\xAC\x96\xBE\x92\xA9";  // 平成明朝
inline constexpr std::string_view kRyumin =
    "\x83\x8A\x83\x85\x83\x45\x83\x7E\x83\x93";  // リュウミン
}  // namespace cp932

// The path of the vemotool.exe and vemofix.exe under test, in Windows form: the ones the
// build names (a 32-bit build: the programs users get; a 64-bit one: its own), or the ones
// VEMOTOOL_EXE and VEMOFIX_EXE name.
std::filesystem::path ToolExe();
std::filesystem::path FixExe();
// The vemofix.exe of this build, whatever VEMOFIX_EXE says.
std::filesystem::path BuiltFixExe();

// How long a program may take to start: to show its window, or its first message box.
Deadline StartDeadline();

struct Finished {
  DWORD status = 0xFFFFFFFF;
  std::wstring out;  // decoded from the system code page
  std::wstring err;
};
// `exe` with `args`, started from `folder` with its output going to files.
class FixRun {
 public:
  FixRun(const std::filesystem::path& exe, const std::vector<std::wstring>& args,
         const std::filesystem::path& folder);
  FixRun(const FixRun&) = delete;
  FixRun& operator=(const FixRun&) = delete;
  ~FixRun() { Kill(); }

  // Waits for the end; its exit status and output.
  Finished Finish();
  // Ends it at once, as a crash or a power cut would: nothing of it runs any more. False when
  // it had ended by itself.
  bool Kill();

 private:
  UniqueKernelHandle process_;
  std::filesystem::path outPath_;
  std::filesystem::path errPath_;
};

// Runs `exe` with `args` from `folder`, its output going to files, and waits for its end.
Finished RunToEnd(const std::filesystem::path& exe, const std::vector<std::wstring>& args,
                  const std::filesystem::path& folder);

// A program built beside the test program (a stand-in).
std::filesystem::path BesideTests(const std::wstring& name);

// An ASCII path from the build or from ctest in Windows form: a Unix path is drive Z: under
// Wine.
std::filesystem::path HostPath(std::string path);

class Workspace {
 public:
  // `program_name` and `target_name` are the last components of the two folders; they may
  // hold Japanese characters and blanks.
  explicit Workspace(const std::wstring& program_name = L"vemo",
                     const std::wstring& target_name = L"TypeSpt");
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::filesystem::path& program_folder() const { return program_; }
  const std::filesystem::path& target_folder() const { return target_; }
  std::filesystem::path exe() const { return program_ / L"vemotool.exe"; }
  std::filesystem::path fonts_txt() const { return program_ / L"Fonts.txt"; }
  std::filesystem::path list(const std::wstring& name = L"AdobeFnt05.lst") const {
    return target_ / name;
  }
  std::filesystem::path backup(const std::wstring& name = L"AdobeFnt05.lst") const {
    return program_ / (name + kBackupSuffix);
  }

  // Starts the program from its folder.
  Process Start() const { return Process::Start(exe(), program_); }

 private:
  std::filesystem::path root_;
  std::filesystem::path program_;
  std::filesystem::path target_;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// The file's bytes; "<absent>" when it cannot be opened.
std::string ReadBytes(const std::filesystem::path& path);
bool FileExists(const std::filesystem::path& path);

// A Fonts.txt line "old,new" CR LF, and a list block registering `name`, as CP932 bytes.
std::string Row(std::string_view old_name, std::string_view new_name);
std::string Entry(std::string_view name);
// A small font list: a header, then one block per name.
std::string ListOf(std::initializer_list<std::string_view> names);
// `list` with its first "FontName:" & `old_name` entry renamed, as the program should leave it.
std::string Renamed(std::string list, std::string_view old_name, std::string_view new_name);

// A started program whose main window is up, with nothing else on screen.
struct Running {
  Process process;
  HWND window = nullptr;
  HWND control(int id) const { return Control(window, id); }
};
// Waits for the program's main window; fails the test, with the program's exit status when it
// has ended, when none shows.
HWND WaitForMainWindow(const Process& process);
// Starts the program and waits for its main window; fails the test on a message box.
Running StartToMainWindow(const Workspace& workspace);

}  // namespace vemo::e2e
