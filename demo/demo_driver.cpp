// One whole run of the program as a user makes it, for `make run` on a machine without a
// display: let vemofix.exe (beside the program) show the rows it would propose for Fonts.txt
// from the fonts; then start the program, look at the window, check the font list (File,
// フォント一覧を確認), take one candidate of each entry that has several, add the rows to the
// table, press 実行, answer every message with OK, check the list again, look at the About
// dialog, exit. Writes what it saw to <out>\demo.log (UTF-8) and screenshots to <out>\main.bmp,
// check.bmp, done.bmp, check-done.bmp and about.bmp.
//
//   vemo_demo.exe <path of vemotool.exe> <output folder>
//
// Exit code 0 when the run ended with the completion message and no error.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/resource.h"
#include "platform/win32/handle.h"
#include "tests/e2e/driver.h"

namespace vemo::e2e {
namespace {

const std::wstring kMainCaption = L"べもつーる - Illustratorの日本語フォント登録を修正";
const std::wstring kCompletionStart = L"処理が終了しました。";
const std::wstring kErrorMark = L"(エラー番号:";
const std::wstring kCheckCaption = L"フォント一覧の確認";
const std::wstring kCheckColumns = L"行\t登録名\t修正後の名前\t状態\tフォントファイル\r\n";
const std::wstring kAllUsable = L"すべての登録名をIllustratorで使えます。";
// One step of the run: the window's start, the check opening or adding, 実行 and its message,
// a vemofix.exe run (scripts/time-limits.sh).
constexpr Deadline kStep{VEMO_DEMO_STEP_SECONDS * 1000};

class Demo {
 public:
  Demo(std::filesystem::path exe, std::filesystem::path out)
      : exe_(std::move(exe)), out_(std::move(out)), log_(out_ / L"demo.log", std::ios::binary) {}

  int Run() {
    // The rows for the fonts the list registers under their Japanese names; the window adds
    // them.
    if (!Vemofix({L"--suggest"})) return Fail("vemofix.exe did not propose the rows");
    Process process = Process::Start(exe_, exe_.parent_path());
    const DWORD pid = process.id();
    if (!WaitForMain(pid)) return Fail("the main window did not appear");
    Say("txtFonts: " + Utf8(TextOf(Control(main_, IDC_TXTFONTS))));
    Shot(main_, L"main.bmp", "ready-main");
    if (!CheckAndAdd(pid)) return Fail("the check of the font list did not add the rows");
    Say("txtFonts: " + Utf8(TextOf(Control(main_, IDC_TXTFONTS))));

    Say("pressing 実行");
    Click(Control(main_, IDC_CMDEXECUTE));
    bool completed = false;
    bool failed = false;
    // Every run ends with a message (done, missing list or error): the first one shows that
    // the click was taken; after each answer the program settles or shows the next.
    std::optional<MessageBoxInfo> box = WaitForMessageBox(pid, kStep, seen_);
    if (!box) return Fail("no message after 実行");
    while (box) {
      const bool done = box->text.starts_with(kCompletionStart);
      completed = completed || done;
      failed = failed || box->text.find(kErrorMark) != std::wstring::npos;
      AnswerBox(*box, done ? L"done.bmp" : nullptr);
      Settled now = Settle(pid, main_, seen_, kStep);
      if (!now.settled) return Fail("the program did not come back from 実行");
      box = now.box;
    }

    HWND check = OpenCheck(pid);
    if (!check) return Fail("no check of the font list after 実行");
    const std::wstring summary = TextOf(Control(check, IDC_CHECK_SUMMARY));
    Say("after 実行: " + Utf8(summary));
    Shot(check, L"check-done.bmp", "ready-check-done");
    CloseCheck(check);
    if (summary != kAllUsable) return Fail("some names still cannot be used");

    ShowAbout(pid);
    Command(main_, IDM_EXIT);
    if (!process.WaitExit()) return Fail("the program did not end after File, Exit");
    Say("the program ended");
    if (failed || !completed) return Fail("the run did not complete");
    return 0;
  }

 private:
  HWND OpenCheck(DWORD pid) {
    Say("File, フォント一覧を確認");
    const auto start = std::chrono::steady_clock::now();
    Command(main_, IDM_CHECK);
    HWND check = WaitForWindow(pid, L"#32770", kCheckCaption, kStep);
    if (!check) return nullptr;
    RoundTrip(check);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    Say("the check opened in " + std::to_string(ms.count()) + " ms");
    seen_.push_back(check);
    return check;
  }

  void CloseCheck(HWND check) {
    Click(Control(check, IDC_CHECK_CLOSE));
    if (!WaitUntil([&] { return !IsWindow(check); })) Say("the check did not close");
  }

  // The rows of the check, logged; one candidate taken for each entry that has several; the
  // checked rows added to the table.
  bool CheckAndAdd(DWORD pid) {
    HWND check = OpenCheck(pid);
    if (!check) return false;
    const auto rows = CopiedRows(check, kCheckColumns);
    for (const auto& row : rows) Say("  " + Utf8(Joined(row)));
    Say(Utf8(TextOf(Control(check, IDC_CHECK_SUMMARY))));
    Shot(check, L"check.bmp", "ready-check");
    HWND list = Control(check, IDC_CHECK_LIST);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i][3] != L"候補が複数") continue;
      FocusListViewRow(list, static_cast<int>(i));
      PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
      if (!PickFromPopupMenu(check, L'1') ||
          !WaitUntil([&] { return ListViewChecked(list, static_cast<int>(i)); }))
        return false;
      Say("took the first candidate of " + Utf8(rows[i][1]));
    }
    Say("pressing 対応表に追加");
    Click(Control(check, IDC_CHECK_ADD));
    const bool added = WaitUntil(
        [&] {
          const auto now = CopiedRows(check, kCheckColumns);
          return !now.empty() && std::all_of(now.begin(), now.end(), [](const auto& row) {
            return row[3] == L"対応表で修正";
          });
        },
        kStep);
    Say(Utf8(TextOf(Control(check, IDC_CHECK_SUMMARY))));
    CloseCheck(check);
    return added;
  }

  static std::wstring Joined(const std::vector<std::wstring>& cells) {
    std::wstring line;
    for (const std::wstring& cell : cells) line += (line.empty() ? L"" : L" | ") + cell;
    return line;
  }

  // Boxes before the window (a missing table, say) are answered and logged. A program that
  // ends (one that cannot start) ends the wait.
  bool WaitForMain(DWORD pid) {
    WaitUntil(
        [&] {
          main_ = WaitForWindow(pid, L"", kMainCaption, Deadline{0});
          if (main_) return true;
          if (auto box = WaitForMessageBox(pid, Deadline{0}, seen_)) AnswerBox(*box, nullptr);
          return !Alive(pid);
        },
        kStep);
    return main_ != nullptr;
  }

  // Runs vemofix.exe with `args` from the program's folder and logs what it printed. True
  // when it ended with status 0: every entry that needed a row got exactly one.
  bool Vemofix(const std::vector<std::wstring>& args) {
    const std::filesystem::path fix = exe_.parent_path() / L"vemofix.exe";
    // A name of its own for every run: Wine may still hold the last run's file a moment.
    static int runs = 0;
    const std::filesystem::path output = out_ / (L"vemofix-" + std::to_wstring(++runs) + L".txt");
    std::wstring commandLine = L"\"" + fix.wstring() + L"\"";
    for (const std::wstring& arg : args) commandLine += L" " + arg;
    Say("running: vemofix" + Utf8(commandLine.substr(fix.wstring().size() + 2)));
    const std::optional<DWORD> status = RunTo(fix, commandLine, output);
    if (!status) return false;
    LogOutput(output);
    Say("vemofix exit status " + std::to_string(*status));
    return *status == 0;
  }

  // Runs `program` with `commandLine` from the program's folder, its output going to the file
  // `output`: its exit status, or nothing (and why, logged) when it did not start or end.
  std::optional<DWORD> RunTo(const std::filesystem::path& program, std::wstring commandLine,
                             const std::filesystem::path& output) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueFile file(CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = file.get();
    PROCESS_INFORMATION info{};
    if (!file ||
        !CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, exe_.parent_path().c_str(), &startup, &info)) {
      Say("vemofix.exe could not be started");
      return std::nullopt;
    }
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    if (WaitForSingleObject(process.get(), static_cast<DWORD>(kStep.count())) != WAIT_OBJECT_0) {
      TerminateProcess(process.get(), 1);
      Say("vemofix.exe did not end");
      return std::nullopt;
    }
    DWORD status = 1;
    GetExitCodeProcess(process.get(), &status);
    return status;
  }

  // Logs the lines of `output`, which vemofix.exe writes in the system code page when
  // redirected.
  void LogOutput(const std::filesystem::path& output) {
    std::ifstream in(output, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const int size =
          MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
      std::wstring text(static_cast<std::size_t>(size), L'\0');
      MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), text.data(), size);
      Say("  " + Utf8(text));
    }
  }

  void ShowAbout(DWORD pid) {
    Command(main_, IDM_VERSION);
    HWND about = nullptr;
    const bool shown = WaitUntil(
        [&] {
          for (HWND w : TopLevelWindows(pid)) {
            if (w != main_ && std::find(seen_.begin(), seen_.end(), w) == seen_.end()) about = w;
          }
          return about != nullptr;
        },
        kWait);
    if (!shown) {
      Say("no About dialog (Help, バージョン情報)");
      return;
    }
    RoundTrip(about);
    if (Control(about, IDC_ABOUT_TITLE) == nullptr && ClassOf(about) == L"#32770" &&
        GetDlgItem(about, 0xFFFF)) {
      Say("a message instead of the About dialog:");
      AnswerBox(Describe(about), nullptr);
      return;
    }
    Say("About dialog: " + Utf8(TextOf(about)) + " / " +
        Utf8(TextOf(Control(about, IDC_ABOUT_TITLE))) + " " +
        Utf8(TextOf(Control(about, IDC_ABOUT_VERSION))));
    Shot(about, L"about.bmp", "ready-about");
    if (HWND ok = Control(about, IDC_ABOUT_OK)) {
      Click(ok);
    } else {
      PostMessageW(about, WM_CLOSE, 0, 0);
    }
    WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); });
    seen_.push_back(about);
  }

  // Logs the box, takes its screenshot when `shot` names one, and answers OK.
  void AnswerBox(const MessageBoxInfo& box, const wchar_t* shot) {
    const char* icon = box.icon == 16   ? "stop"
                       : box.icon == 48 ? "exclamation"
                       : box.icon == 64 ? "information"
                       : box.icon == 0  ? "none"
                                        : "?";
    Say("message [" + Utf8(box.caption) + ", icon " + icon + "]: " + Utf8(box.text));
    if (shot) Shot(box.window, shot, "ready-done");
    Say("answering OK");
    if (!Answer(box)) Say("the message did not close");
    seen_.push_back(box.window);
  }

  void Shot(HWND window, const wchar_t* name, const char* point) {
    if (SaveScreenshot(window, out_ / name)) {
      Say(std::string(point) + " " + Utf8(name));
    } else {
      Say(std::string("no screenshot ") + Utf8(name));
    }
  }

  int Fail(const std::string& why) {
    Say("FAILED: " + why);
    return 1;
  }

  void Say(const std::string& line) {
    // Messages can hold line breaks; keep one log line per event.
    std::string flat;
    for (char c : line) {
      if (c == '\r') continue;
      flat += c == '\n' ? std::string(" / ") : std::string(1, c);
    }
    log_ << flat << '\n' << std::flush;
  }

  std::filesystem::path exe_;
  std::filesystem::path out_;
  std::ofstream log_;
  HWND main_ = nullptr;
  std::vector<HWND> seen_;
};

}  // namespace
}  // namespace vemo::e2e

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  try {
    return vemo::e2e::Demo(argv[1], argv[2]).Run();
  } catch (const std::exception& e) {
    std::ofstream(std::filesystem::path(argv[2]) / L"demo.log", std::ios::app)
        << "FAILED: " << e.what() << '\n';
    return 1;
  }
}
