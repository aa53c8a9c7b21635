// The list Illustrator reads on Windows Vista to 11, here under Wine: the real Win32 file
// system, the shell's folders and the long-name calls, with only the token's answer stood in
// for (Wine virtualizes nothing, so its token never allows it); through the window's 実行 and
// through vemofix's run.
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/frm_vemo.h"
#include "app/resource.h"
#include "cli/vemofix.h"
#include "platform/program_folder.h"
#include "platform/win32/file_ranges_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/virtualization_win.h"
#include "tests/fakes/denying_file_system.h"
#include "tests/fakes/fake_launcher.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_running_programs.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_ui.h"
#include "tests/fakes/fake_workstation.h"
#include "tests/win/test_support.h"

namespace vemo {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

class VirtualizedUser : public Win32Virtualization {
 protected:
  bool TokenAllowsVirtualization() override { return true; }
};

std::wstring ShellFolder(int id) {
  wchar_t folder[MAX_PATH] = {};
  EXPECT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder)));
  return folder;
}

const std::string kList = "%BeginFont\r\nFontName:A\r\n%EndFont\r\n";
const std::string kFixedList = "%BeginFont\r\nFontName:B\r\n%EndFont\r\n";
const std::string kCopy = "%BeginFont\r\nFontName:A\r\n%Copy\r\n";
const std::string kFixedCopy = "%BeginFont\r\nFontName:B\r\n%Copy\r\n";
const std::string kAbsent = "<cannot open>";  // what ReadBytes gives for no file

// A folder of Illustrator's under Program Files, holding its list, and the folder where
// Windows keeps this user's copies of its files; both go at the end.
class VirtualStore : public ::testing::Test {
 protected:
  VirtualStore()
      : folder_(testing::NewFolder(ShellFolder(CSIDL_PROGRAM_FILES) + L"\\vemo-virtual-store-")),
        copyFolder_(ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\VirtualStore" + folder_.substr(2)),
        list_(folder_ + L"\\AdobeFnt05.lst"),
        copy_(copyFolder_ + L"\\AdobeFnt05.lst") {
    // A copy left by a killed run whose folder had the same name is not this test's.
    testing::RemoveTree(copyFolder_);
    WriteBytes(list_, kList);
  }
  ~VirtualStore() override {
    testing::RemoveTree(folder_);
    testing::RemoveTree(copyFolder_);
  }

  void PlaceCopy() {
    for (std::size_t slash = copyFolder_.find(L'\\', 3); slash != copyFolder_.npos;
         slash = copyFolder_.find(L'\\', slash + 1)) {
      CreateDirectoryW(copyFolder_.substr(0, slash).c_str(), nullptr);
    }
    CreateDirectoryW(copyFolder_.c_str(), nullptr);
    WriteBytes(copy_, kCopy);
  }

  const std::wstring folder_, copyFolder_, list_, copy_;
  Win32FileSystem files_;
  VirtualizedUser virtualization_;
};

TEST_F(VirtualStore, ExecuteFixesTheCopyIllustratorReadsAndLeavesTheFileItStandsFor) {
  const std::wstring table = PathBesideProgram(L"Fonts.txt");
  const std::wstring backup = ProgramFolder() + L"\\AdobeFnt05.lst のバックアップ";
  ASSERT_EQ(ReadBytes(table), kAbsent) << "a Fonts.txt beside the tests";
  const struct {
    const char* what;
    bool copy, denied;
    std::string listAfter, copyAfter, backupAfter;
  } cases[] = {
      {"a copy there: the copy is the list", true, false, kList, kFixedCopy, kCopy},
      {"no copy, writing denied: the copy is made", false, true, kList, kFixedList, kList},
      {"no copy, writing allowed: the list itself", false, false, kFixedList, kAbsent, kList},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(list_, kList);
    DeleteFileW(copy_.c_str());
    if (c.copy) PlaceCopy();
    WriteBytes(table, "A,B\r\n");
    testing::DenyingFileSystem files(files_, c.denied ? folder_ : L"");
    testing::FakeUi ui;
    testing::FakeLauncher launcher;
    testing::FakeRegistry registry;
    testing::FakeShell shell;
    Win32FileRanges fonts;
    testing::FakeRunningPrograms programs;
    {
      FrmVemo form(GetModuleHandleW(nullptr), ui, files, launcher, virtualization_, registry, shell,
                   fonts, programs);
      form.Load(SW_HIDE);
      ASSERT_NE(form.Hwnd(), nullptr);
      SetDlgItemTextW(form.Hwnd(), IDC_TXTFOLDER, folder_.c_str());
      SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMDEXECUTE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(form.Hwnd(), IDC_CMDEXECUTE)));
      DestroyWindow(form.Hwnd());
      MSG message;
      PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    std::wstring shown;
    for (const auto& m : ui.messages) shown += m.text + L"|";
    EXPECT_EQ(shown, L"処理が終了しました。Illustratorを起動して確認してください。|");
    EXPECT_EQ(ReadBytes(list_), c.listAfter);
    EXPECT_EQ(ReadBytes(copy_), c.copyAfter);
    EXPECT_EQ(ReadBytes(backup), c.backupAfter);
    DeleteFileW(backup.c_str());
    DeleteFileW(table.c_str());
  }
}

// On Vista to 11 a user who opens the target folder to look at the list must see the file
// 実行 changed: the VirtualStore copy's folder where the copy is the list.
TEST_F(VirtualStore, TheFolderCommandOpensTheFolderOfTheFileExecuteChanges) {
  for (const bool copy : {true, false}) {
    SCOPED_TRACE(copy ? "a copy" : "no copy");
    DeleteFileW(copy_.c_str());
    if (copy) PlaceCopy();
    testing::FakeUi ui;
    testing::FakeLauncher launcher;
    testing::FakeRegistry registry;
    testing::FakeShell shell;
    Win32FileRanges fonts;
    testing::FakeRunningPrograms programs;
    {
      FrmVemo form(GetModuleHandleW(nullptr), ui, files_, launcher, virtualization_, registry,
                   shell, fonts, programs);
      form.Load(SW_HIDE);
      ASSERT_NE(form.Hwnd(), nullptr);
      SetDlgItemTextW(form.Hwnd(), IDC_TXTFOLDER, (L" " + folder_).c_str());
      SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(IDM_FOLDER, 0), 0);
      DestroyWindow(form.Hwnd());
      MSG message;
      PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    ASSERT_EQ(launcher.requests.size(), 1u);
    EXPECT_EQ(launcher.requests[0].commandLine,
              L"EXPLORER.EXE ,\"" + (copy ? copyFolder_ : folder_) + L"\"");
  }
}

class Recorded : public cli::Console {
 public:
  void Out(std::wstring_view text) override { out += text; }
  void Err(std::wstring_view text) override { out += text; }
  std::wstring out;
};

TEST_F(VirtualStore, VemofixDryRunAndRestoreWorkOnTheCopy) {
  PlaceCopy();
  testing::TempFolder tool;
  WriteBytes(tool / L"Fonts.txt", "A,B\r\n");
  WriteBytes(tool / L"AdobeFnt05.lst のバックアップ", "%backup\r\n");
  cli::Environment environment;
  environment.programFolder = tool.Path();
  environment.separator = L'\\';
  const auto run = [&](const wchar_t* option) {
    Recorded console;
    Win32FileRanges fonts;
    testing::FakeRunningPrograms programs;
    testing::FakeWorkstation workstation;
    const int status =
        cli::RunVemofix({option, L"--folder", folder_}, environment,
                        {files_, virtualization_, fonts, programs, workstation, console});
    return std::pair{status, console.out};
  };

  const auto [dryStatus, dryRun] = run(L"--dry-run");
  EXPECT_EQ(dryStatus, cli::kDone);
  const std::wstring firstLine = L"font list: " + copy_ + L"\n";
  EXPECT_EQ(dryRun.substr(0, firstLine.size()), firstLine);
  EXPECT_EQ(ReadBytes(copy_), kCopy);

  const auto [restoreStatus, restored] = run(L"--restore");
  EXPECT_EQ(restoreStatus, cli::kDone);
  EXPECT_EQ(restored,
            L"restored " + (tool / L"AdobeFnt05.lst のバックアップ") + L" over " + copy_ + L"\n");
  EXPECT_EQ(ReadBytes(copy_), "%backup\r\n");
  EXPECT_EQ(ReadBytes(list_), kList) << "the file the copy stands for is left alone";
}

}  // namespace
}  // namespace vemo
