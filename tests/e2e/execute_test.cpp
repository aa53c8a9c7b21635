// The whole job from the window: 実行 rewrites the list, and File opens the target folder.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

// A program folder whose table renames two Japanese fonts, started to its main window.
class Execute : public ::testing::Test {
 protected:
  explicit Execute(const std::wstring& program = L"べもつーる",
                   const std::wstring& target = L"TypeSpt")
      : workspace_(program, target) {
    WriteBytes(workspace_.fonts_txt(),
               Row(cp932::kMsMincho, "MS-Mincho") + Row(cp932::kMsGothic, "MS-Gothic"));
  }

  void SetUp() override {
    app_ = StartToMainWindow(workspace_);
    ASSERT_TRUE(app_.window);
  }

  void SetFolder(const std::wstring& text) { e2e::SetText(app_.control(IDC_TXTFOLDER), text); }

  // Presses 実行, answers every box with OK and returns the boxes in the order they came.
  // Every run ends with at least one box (done, missing list or error): that is the sign that
  // the click was taken; from then on the program settles.
  std::vector<MessageBoxInfo> Run() {
    Click(app_.control(IDC_CMDEXECUTE));
    std::vector<MessageBoxInfo> boxes;
    std::vector<HWND> seen;
    std::optional<MessageBoxInfo> box = WaitForMessageBox(app_.process.id(), Deadline{30000});
    EXPECT_TRUE(box) << "no message after 実行";
    while (box) {
      EXPECT_TRUE(Answer(*box));
      seen.push_back(box->window);
      boxes.push_back(*box);
      if (boxes.size() > 5) {
        ADD_FAILURE() << "too many boxes";
        break;
      }
      Settled now = Settle(app_.process.id(), app_.window, seen, Deadline{30000});
      EXPECT_TRUE(now.settled) << "the program did not come back";
      box = now.box;
    }
    return boxes;
  }

  // One box expected: its text, caption and icon.
  static void ExpectOnly(const std::vector<MessageBoxInfo>& boxes, const std::wstring& text,
                         int icon) {
    ASSERT_EQ(1u, boxes.size());
    EXPECT_WEQ(text, boxes[0].text);
    EXPECT_WEQ(kTitle, boxes[0].caption);
    EXPECT_EQ(icon, boxes[0].icon);
  }

  static void ExpectError(const std::vector<MessageBoxInfo>& boxes) {
    ASSERT_EQ(1u, boxes.size()) << "the error dialog and nothing else";
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(L" (エラー番号:")) << Utf8(boxes[0].text);
    EXPECT_TRUE(boxes[0].text.ends_with(L")"));
    EXPECT_WEQ(kTitle, boxes[0].caption);
    EXPECT_EQ(48, boxes[0].icon);
  }

  Workspace workspace_;
  Running app_;
};

const std::string kOriginal = ListOf({cp932::kMsMincho, cp932::kHeisei, cp932::kMsGothic});
const std::string kRewritten =
    Renamed(Renamed(kOriginal, cp932::kMsMincho, "MS-Mincho"), cp932::kMsGothic, "MS-Gothic");

TEST_F(Execute, RewritesTheListKeepsTheFirstBackupAndSaysDone) {
  WriteBytes(workspace_.list(), kOriginal);
  SetFolder(workspace_.target_folder().wstring());
  ExpectOnly(Run(), kCompletion, 64);
  EXPECT_EQ(kRewritten, ReadBytes(workspace_.list()));
  EXPECT_EQ(kOriginal, ReadBytes(workspace_.backup()));

  // A second run on a changed list rewrites it again but leaves the first backup alone.
  const std::string changed = ListOf({cp932::kRyumin, cp932::kMsGothic});
  WriteBytes(workspace_.list(), changed);
  ExpectOnly(Run(), kCompletion, 64);
  EXPECT_EQ(Renamed(changed, cp932::kMsGothic, "MS-Gothic"), ReadBytes(workspace_.list()));
  EXPECT_EQ(kOriginal, ReadBytes(workspace_.backup()));
  EXPECT_FALSE(FileExists(workspace_.backup(L"AdobeFnt.lst")));
}

TEST_F(Execute, Illustrator8Or9PicksAdobeFntLst) {
  WriteBytes(workspace_.list(L"AdobeFnt.lst"), kOriginal);
  WriteBytes(workspace_.list(), kOriginal);
  SetFolder(workspace_.target_folder().wstring());
  Click(app_.control(IDC_OPT89));
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(app_.control(IDC_OPT89)); }));
  EXPECT_FALSE(IsChecked(app_.control(IDC_OPT10)));

  ExpectOnly(Run(), kCompletion, 64);
  EXPECT_EQ(kRewritten, ReadBytes(workspace_.list(L"AdobeFnt.lst")));
  EXPECT_EQ(kOriginal, ReadBytes(workspace_.backup(L"AdobeFnt.lst")));
  EXPECT_EQ(kOriginal, ReadBytes(workspace_.list()));
  EXPECT_FALSE(FileExists(workspace_.backup()));
}

TEST_F(Execute, FolderTextMayEndInABackslashAndHaveBlanksAround) {
  WriteBytes(workspace_.list(), kOriginal);
  SetFolder(L"  " + workspace_.target_folder().wstring() + L"\\ \t\u3000");
  ExpectOnly(Run(), kCompletion, 64);
  EXPECT_EQ(kRewritten, ReadBytes(workspace_.list()));
  // Only the folder text the program read changed nothing in the window.
  EXPECT_TRUE(TextOf(app_.control(IDC_TXTFOLDER)).starts_with(L"  "));
}

// Blanks and Japanese inside both paths: the program folder and the target folder.
class ExecuteInFoldersWithBlanks : public Execute {
 protected:
  ExecuteInFoldersWithBlanks() : Execute(L"べもつーる テスト版", L"Adobe 共通 TypeSpt") {}
};

TEST_F(ExecuteInFoldersWithBlanks, RewritesTheListAndBacksItUpBesideTheProgram) {
  WriteBytes(workspace_.list(), kOriginal);
  SetFolder(workspace_.target_folder().wstring());
  ExpectOnly(Run(), kCompletion, 64);
  EXPECT_EQ(kRewritten, ReadBytes(workspace_.list()));
  EXPECT_EQ(kOriginal, ReadBytes(workspace_.backup()));
}

TEST_F(Execute, AMissingListIsNamedWithItsFullPathAndNothingIsWritten) {
  SetFolder(workspace_.target_folder().wstring());
  const std::vector<MessageBoxInfo> boxes = Run();
  ExpectOnly(boxes, kMissingList + (workspace_.target_folder() / L"AdobeFnt05.lst").wstring(), 48);
  EXPECT_FALSE(FileExists(workspace_.backup()));
  EXPECT_FALSE(FileExists(workspace_.list()));
}

TEST_F(Execute, AListHeldOpenByAnotherProgramStaysAsItWasAndTheWindowGoesOn) {
  WriteBytes(workspace_.list(), kOriginal);
  SetFolder(workspace_.target_folder().wstring());
  {
    // As a running Illustrator would: open, and share it with nobody.
    UniqueFile held(CreateFileW(workspace_.list().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held) << GetLastError();
    ExpectError(Run());
  }
  EXPECT_EQ(kOriginal, ReadBytes(workspace_.list()));
  EXPECT_TRUE(app_.process.Running());

  // Once the list is free, the same window does the job.
  ExpectOnly(Run(), kCompletion, 64);
  EXPECT_EQ(kRewritten, ReadBytes(workspace_.list()));
}

TEST_F(Execute, AReadOnlyListStaysAsItWasAndTheWindowGoesOn) {
  WriteBytes(workspace_.list(), kOriginal);
  ASSERT_TRUE(SetFileAttributesW(workspace_.list().c_str(), FILE_ATTRIBUTE_READONLY));
  SetFolder(workspace_.target_folder().wstring());
  ExpectError(Run());
  EXPECT_EQ(kOriginal, ReadBytes(workspace_.list()));
  EXPECT_TRUE(GetFileAttributesW(workspace_.list().c_str()) & FILE_ATTRIBUTE_READONLY);

  ASSERT_TRUE(SetFileAttributesW(workspace_.list().c_str(), FILE_ATTRIBUTE_NORMAL));
  ExpectOnly(Run(), kCompletion, 64);
  EXPECT_EQ(kRewritten, ReadBytes(workspace_.list()));
}

// File, 対象フォルダを開く...: a new explorer.exe from the Windows folder, started by the
// program. Returns its command line, read from the started process, and ends it.
std::wstring OpenFolderAndReadExplorerCommandLine(const Running& app) {
  std::vector<DWORD> before;
  for (const auto& p : ProcessesNamed(L"explorer.exe")) before.push_back(p.id);

  Command(app.window, IDM_FOLDER);
  DWORD started = 0;
  EXPECT_TRUE(WaitUntil([&] {
    for (const auto& p : ProcessesNamed(L"explorer.exe")) {
      if (p.parent == app.process.id() &&
          std::find(before.begin(), before.end(), p.id) == before.end()) {
        started = p.id;
        return true;
      }
    }
    return false;
  })) << "no explorer.exe started by the program";
  if (started == 0) return L"";
  std::wstring command_line;
  std::wstring image;
  WaitUntil([&] {
    command_line = CommandLineOf(started);
    image = ImagePathOf(started);
    return !command_line.empty() && !image.empty();
  });
  // Explorer is ended here: it is not the program's to end, and must not outlive the test.
  UniqueKernelHandle explorer(OpenProcess(PROCESS_TERMINATE, FALSE, started));
  if (explorer) TerminateProcess(explorer.get(), 0);

  // Explorer comes from the Windows folder, whatever the search path holds. (Wine names its
  // built-in explorer by its system32 path, however it was started.)
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring expected = Lower(windows);
  EXPECT_TRUE(Lower(image) == expected + L"\\explorer.exe" ||
              Lower(image) == expected + L"\\system32\\explorer.exe")
      << Utf8(image);
  // No message: the start succeeded.
  EXPECT_FALSE(WaitForMessageBox(app.process.id(), Deadline{0}));
  return command_line;
}

TEST_F(Execute, OpenTargetFolderStartsExplorerWithTheFolder) {
  const std::wstring folder = workspace_.target_folder().wstring();
  ASSERT_EQ(std::wstring::npos, folder.find(L' '));
  SetFolder(L" " + folder + L" ");
  const std::wstring command_line = OpenFolderAndReadExplorerCommandLine(app_);
  EXPECT_TRUE(command_line.ends_with(L"," + folder)) << Utf8(command_line);
}

// A folder with blanks is quoted so that it reaches explorer as one path; a backslash before
// the closing quote is doubled so that it does not escape the quote.
TEST_F(ExecuteInFoldersWithBlanks, OpenTargetFolderQuotesAFolderWithBlanks) {
  const std::wstring folder = workspace_.target_folder().wstring();
  SetFolder(folder);
  EXPECT_TRUE(OpenFolderAndReadExplorerCommandLine(app_).ends_with(L",\"" + folder + L"\""));
  SetFolder(folder + L"\\");
  EXPECT_TRUE(OpenFolderAndReadExplorerCommandLine(app_).ends_with(L",\"" + folder + L"\\\\\""));
}

}  // namespace
}  // namespace vemo::e2e
