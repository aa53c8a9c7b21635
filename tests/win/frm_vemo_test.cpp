// The main window in this process, with fakes behind it: what the user sees, in order, when
// Execute succeeds, fails or finds no list, and when the target folder cannot be opened; and
// its layout on Windows with and without the per-monitor DPI functions.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/frm_vemo.h"
#include "app/resource.h"
#include "errors/report_error.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "platform/virtualization.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/file_ranges_win.h"
#include "platform/win32/handle.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_launcher.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_running_programs.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_ui.h"

namespace vemo {
namespace {

using vemo::testing::FakeFileSystem;
using vemo::testing::FakeLauncher;
using vemo::testing::FakeRegistry;
using vemo::testing::FakeRunningPrograms;
using vemo::testing::FakeShell;
using vemo::testing::FakeUi;
using vemo::testing::StartRequest;

const std::wstring kFolder = L"C:\\Adobe Fonts";
const std::wstring kList = kFolder + L"\\AdobeFnt05.lst";
const std::string kContent = "%BeginFont\r\nFontName:A\r\n%EndFont\r\n";
const std::wstring kCompletion = L"処理が終了しました。Illustratorを起動して確認してください。";

// Everything the main window is given, as fakes.
struct FakeServices {
  FrmVemo Form() {
    return FrmVemo(GetModuleHandleW(nullptr), ui, files, launcher, virtualization, registry, shell,
                   fonts, programs);
  }

  FakeUi ui;
  FakeFileSystem files;
  FakeLauncher launcher;
  NoVirtualization virtualization;
  FakeRegistry registry;
  FakeShell shell;
  Win32FileRanges fonts;
  FakeRunningPrograms programs;
};

class ExecuteHandler : public ::testing::Test, protected FakeServices {
 protected:
  ExecuteHandler() {
    files.files[PathBesideProgram(L"Fonts.txt")] = "A,B\r\n";
    files.files[kList] = kContent;
    form.Load(SW_HIDE);
    ui.messages.clear();
    ui.events.clear();
    SetDlgItemTextW(form.Hwnd(), IDC_TXTFOLDER, kFolder.c_str());
  }
  ~ExecuteHandler() override {
    if (form.Hwnd()) DestroyWindow(form.Hwnd());
    // The window's end posted WM_QUIT for the program's loop; this test has none.
    MSG message;
    PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }

  // As a click on 実行 reaches the window.
  void PressExecute() {
    SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMDEXECUTE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(form.Hwnd(), IDC_CMDEXECUTE)));
  }

  FrmVemo form = Form();
};

TEST_F(ExecuteHandler, ARunEndsWithThePointerBackThenTheCompletionMessage) {
  ASSERT_NE(form.Hwnd(), nullptr);
  PressExecute();
  EXPECT_EQ(ui.events, (std::vector<std::wstring>{L"hourglass", L"default", L"message"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kCompletion);
  EXPECT_EQ(ui.messages[0].style, MessageStyle::kInformation);
  EXPECT_EQ(files.files[kList], "%BeginFont\r\nFontName:B\r\n%EndFont\r\n");
}

TEST_F(ExecuteHandler, AFailedRunPutsThePointerBackBeforeTheErrorDialogAndNeverSaysDone) {
  files.failures[L"replace"] = err::kPermissionDenied;
  PressExecute();
  EXPECT_EQ(ui.events, (std::vector<std::wstring>{L"hourglass", L"default", L"message"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, ErrorMessageText(err::kPermissionDenied));
  EXPECT_EQ(ui.messages[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(files.files[kList], kContent);
}

TEST_F(ExecuteHandler, AMissingListGetsItsOwnMessageAndNoCompletion) {
  files.files.erase(kList);
  PressExecute();
  EXPECT_EQ(ui.events, (std::vector<std::wstring>{L"hourglass", L"message", L"default"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, L"次のファイルが存在しません。\r\n" + kList);
  EXPECT_EQ(ui.messages[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(files.files.count(ProgramFolder() + L"\\AdobeFnt05.lst のバックアップ"), 0u);
}

// 実行 and File, バックアップから戻す: only the box, and not even the list is read.
TEST_F(ExecuteHandler, WhileIllustratorOrPhotoshopRunsOnlyItsBoxShowsAndNothingIsTouched) {
  programs.running = {L"explorer.exe", L"PHOTOSHP.EXE"};
  files.files[ProgramFolder() + L"\\AdobeFnt05.lst のバックアップ"] = kContent;
  for (const int command : {IDC_CMDEXECUTE, IDM_RESTORE}) {
    SCOPED_TRACE(command);
    files.calls.clear();
    ui.events.clear();
    ui.messages.clear();
    SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    EXPECT_EQ(ui.events, std::vector<std::wstring>{L"message"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              L"Illustrator または Photoshop が起動しています。終了させてから、もう一度実行して"
              L"ください。");
    EXPECT_EQ(ui.messages[0].style, MessageStyle::kExclamation);
    EXPECT_EQ(files.calls, std::vector<std::wstring>{});
  }
}

// File, 対象フォルダを開く...: the handler has nothing to do before the error dialog, so a
// failure reaches it through the window procedure.
class FolderCommand : public ExecuteHandler {
 protected:
  void PressFolder() { SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(IDM_FOLDER, 0), 0); }
};

TEST_F(FolderCommand, AFolderTheShellOrExplorerCannotOpenGivesTheErrorDialogAndTheWindowGoesOn) {
  // No explorer.exe in the Windows folder: the shell is asked, and the folder is not there.
  PressFolder();
  EXPECT_EQ(shell.opened, std::vector<std::wstring>{kFolder});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, ErrorMessageText(err::kPathNotFound));
  EXPECT_EQ(ui.messages[0].style, MessageStyle::kExclamation);

  // That explorer.exe, which cannot be started.
  const std::wstring explorer = shell.windowsFolder + L"\\explorer.exe";
  files.files[explorer] = "MZ";
  ui.messages.clear();
  PressFolder();
  const StartRequest start{explorer, L"EXPLORER.EXE ,\"" + kFolder + L"\""};
  EXPECT_EQ(launcher.requests, std::vector<StartRequest>{start});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, ErrorMessageText(err::kFileNotFound));
  EXPECT_EQ(shell.opened.size(), 1u);
  EXPECT_NE(form.Hwnd(), nullptr);
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

TEST(MainWindowLayout, AtTheDpiWithTheMessageFontWithOrWithoutLaterWindows) {
  WindowDc screen(nullptr);
  const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));

  for (bool later : {true, false}) {
    SCOPED_TRACE(later ? "with the per-monitor functions" : "as on Windows XP to 8");
    UseLaterWindowsFunctions(later);
    FakeServices services;
    FrmVemo form = services.Form();
    form.Load(SW_HIDE);
    UseLaterWindowsFunctions(true);
    ASSERT_NE(form.Hwnd(), nullptr);

    RECT client{};
    GetClientRect(form.Hwnd(), &client);
    EXPECT_EQ(client.right, Pixels(7545, dpi));
    EXPECT_EQ(client.bottom, Pixels(6285, dpi));
    RECT button{};
    GetWindowRect(GetDlgItem(form.Hwnd(), IDC_CMDEXECUTE), &button);
    EXPECT_EQ(button.right - button.left, Pixels(1455, dpi));
    const LOGFONTW font = FontOf(GetDlgItem(form.Hwnd(), IDC_TXTFOLDER));
    EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(metrics.lfMessageFont.lfFaceName));

    DestroyWindow(form.Hwnd());
    MSG message;
    PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
}

}  // namespace
}  // namespace vemo
