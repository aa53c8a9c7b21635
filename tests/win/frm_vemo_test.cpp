// The main window's Execute handler, in this process, with fakes behind it: what the user
// sees, in order, for a run that succeeds, fails or finds no list.
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
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_launcher.h"
#include "tests/fakes/fake_ui.h"

namespace vemo {
namespace {

using vemo::testing::FakeFileSystem;
using vemo::testing::FakeLauncher;
using vemo::testing::FakeUi;

const std::wstring kFolder = L"C:\\Adobe Fonts";
const std::wstring kList = kFolder + L"\\AdobeFnt05.lst";
const std::string kContent = "%BeginFont\r\nFontName:A\r\n%EndFont\r\n";
const std::wstring kCompletion = L"処理が終了しました。Illustratorを起動して確認してください。";

class ExecuteHandler : public ::testing::Test {
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

  FakeUi ui;
  FakeFileSystem files;
  FakeLauncher launcher;
  NoVirtualization virtualization;
  FrmVemo form{GetModuleHandleW(nullptr), ui, files, launcher, virtualization};
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

}  // namespace
}  // namespace vemo
