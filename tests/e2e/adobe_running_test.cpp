// While a program named as Illustrator or Photoshop runs, 実行 says so and vemofix.exe ends
// with status 5, and neither writes anything; once it has ended, both do their job.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kRunning =
    L"Illustrator または Photoshop が起動しています。終了させてから、もう一度実行してください。";

const std::string kOriginal = ListOf({cp932::kMsMincho});
const std::string kRewritten = Renamed(kOriginal, cp932::kMsMincho, "MS-Mincho");

// Presses 実行 and answers its one box; the box's text and icon.
std::pair<std::wstring, int> Execute(const Running& app) {
  Click(app.control(IDC_CMDEXECUTE));
  const std::optional<MessageBoxInfo> box = WaitForMessageBox(app.process.id(), Deadline{30000});
  if (!box) return {L"<no box>", -1};
  EXPECT_TRUE(Answer(*box));
  EXPECT_TRUE(Settle(app.process.id(), app.window, {box->window}).settled);
  return {box->text, box->icon};
}

// File, フォント一覧を確認, 対応表に追加: the same box over the dialog, and the dialog stays.
void AddInTheCheckOfTheList(const Running& app) {
  Command(app.window, IDM_CHECK);
  HWND check = WaitForWindow(app.process.id(), L"#32770", L"フォント一覧の確認", Deadline{60000});
  ASSERT_TRUE(check) << "no check of the list";
  Click(Control(check, IDC_CHECK_ADD));
  const std::optional<MessageBoxInfo> box = WaitForMessageBox(app.process.id(), kWait, {check});
  ASSERT_TRUE(box) << "no box after 対応表に追加";
  EXPECT_WEQ(kRunning, box->text);
  EXPECT_TRUE(Answer(*box));
  EXPECT_TRUE(IsWindow(check));
  PressKey(check, VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(check); }));
}

TEST(AdobeRunning, ExecuteAndVemofixWriteNothingUntilItHasEnded) {
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho"));
  const fs::path fix = workspace.program_folder() / L"vemofix.exe";
  fs::copy_file(FixExe(), fix);
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  SetText(app.control(IDC_TXTFOLDER), workspace.target_folder().wstring());
  Click(app.control(IDC_OPT10));
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(app.control(IDC_OPT10)); }));
  const std::vector<std::wstring> args = {L"--folder", workspace.target_folder().wstring()};

  for (const wchar_t* name : {L"Illustrator.exe", L"PHOTOSHP.EXE"}) {
    SCOPED_TRACE(Utf8(name));
    WriteBytes(workspace.list(), kOriginal);
    DeleteFileW(workspace.backup().c_str());
    const fs::path standInFolder = workspace.target_folder() / L"adobe";
    fs::create_directories(standInFolder);
    fs::copy_file(BesideTests(L"idle_stand_in.exe"), standInFolder / name,
                  fs::copy_options::overwrite_existing);
    Process standIn = Process::Start(standInFolder / name, standInFolder);

    EXPECT_EQ(Execute(app), std::pair(kRunning, 48));
    AddInTheCheckOfTheList(app);
    const Finished refused = RunToEnd(fix, args, workspace.program_folder());
    EXPECT_EQ(refused.status, 5u) << Utf8(refused.err);
    EXPECT_TRUE(refused.err.find(L"Illustrator") != std::wstring::npos) << Utf8(refused.err);
    EXPECT_EQ(ReadBytes(workspace.list()), kOriginal);
    EXPECT_FALSE(FileExists(workspace.backup()));

    // Ended, and its handle closed: nothing of it is left to list.
    standIn = Process();
    const Finished done = RunToEnd(fix, args, workspace.program_folder());
    EXPECT_EQ(done.status, 0u) << Utf8(done.err);
    EXPECT_EQ(ReadBytes(workspace.list()), kRewritten);
    WriteBytes(workspace.list(), kOriginal);
    EXPECT_EQ(Execute(app), std::pair(kCompletion, 64));
    EXPECT_EQ(ReadBytes(workspace.list()), kRewritten);
    EXPECT_EQ(ReadBytes(workspace.backup()), kOriginal);
  }
}

}  // namespace
}  // namespace vemo::e2e
