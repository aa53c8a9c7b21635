// vemofix.exe against the window: for the same table and list, pressing 実行 and running
// vemofix.exe leave byte-identical lists and backups; and vemofix.exe's exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "errors/report_error.h"
#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

// A program folder with vemofix.exe beside vemotool.exe and the same Fonts.txt.
class WithVemofix {
 public:
  explicit WithVemofix(const std::string& table) : workspace_(L"べもつーる", L"Type Spt") {
    fs::copy_file(FixExe(), workspace_.program_folder() / L"vemofix.exe");
    WriteBytes(workspace_.fonts_txt(), table);
  }
  const Workspace& workspace() const { return workspace_; }

  Finished Run(std::vector<std::wstring> args) const {
    return RunToEnd(workspace_.program_folder() / L"vemofix.exe", args,
                    workspace_.program_folder());
  }
  // The folder given as the window's folder box would hold it.
  Finished RunOn(std::vector<std::wstring> args) const {
    args.insert(args.begin(), {L"--folder", workspace_.target_folder().wstring()});
    return Run(args);
  }

 private:
  Workspace workspace_;
};

// Presses 実行 with the folder and version given, and answers the completion message.
void ExecuteInWindow(const Workspace& workspace, bool illustrator10) {
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  SetText(app.control(IDC_TXTFOLDER), workspace.target_folder().wstring());
  const int option = illustrator10 ? IDC_OPT10 : IDC_OPT89;
  Click(app.control(option));
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(app.control(option)); }));
  Click(app.control(IDC_CMDEXECUTE));
  const std::optional<MessageBoxInfo> box = WaitForMessageBox(app.process.id(), Deadline{30000});
  ASSERT_TRUE(box) << "no message after 実行";
  EXPECT_EQ(Utf8(box->text), Utf8(kCompletion));
  EXPECT_TRUE(Answer(*box));
}

const std::string kTable = Row(cp932::kMsMincho, "MS-Mincho") + Row("ryumin", "Ryumin-Light") +
                           Row("Ryumin-Light", "Ryumin-Light-KL") + Row(cp932::kHeisei, "") +
                           Row(cp932::kMsGothic, "MS-Gothic") + Row("Nothing", "Else");

TEST(VemofixAndWindow, LeaveByteIdenticalListsAndBackups) {
  WithVemofix window(kTable);
  WithVemofix command(kTable);
  struct Round {
    bool illustrator10;
    std::string list;
  };
  const std::vector<Round> rounds = {
      {true, ListOf({cp932::kMsMincho, "RYUMIN", cp932::kHeisei, cp932::kMsGothic})},
      // A second run on a changed list: both keep the first backup.
      {true, ListOf({cp932::kMsGothic, cp932::kMsMincho, cp932::kMsMincho})},
      {false, ListOf({"Ryumin-Light-Pro", cp932::kRyumin, cp932::kMsMincho})},
  };
  for (const Round& round : rounds) {
    const std::wstring name = round.illustrator10 ? L"AdobeFnt05.lst" : L"AdobeFnt.lst";
    WriteBytes(window.workspace().list(name), round.list);
    WriteBytes(command.workspace().list(name), round.list);
    ExecuteInWindow(window.workspace(), round.illustrator10);
    const Finished run = command.RunOn({L"--illustrator", round.illustrator10 ? L"10" : L"9"});
    EXPECT_EQ(run.status, 0u) << Utf8(run.err);

    const std::string listed = ReadBytes(window.workspace().list(name));
    EXPECT_NE(listed, round.list) << "the window changed nothing";
    EXPECT_EQ(ReadBytes(command.workspace().list(name)), listed);
    EXPECT_EQ(ReadBytes(command.workspace().backup(name)),
              ReadBytes(window.workspace().backup(name)));
    EXPECT_TRUE(FileExists(command.workspace().backup(name)));
  }
  EXPECT_EQ(ReadBytes(command.workspace().backup()), rounds[0].list);
}

TEST(VemofixExe, ReportsEveryRowInTheConsolesCodePageAndDryRunWritesNothing) {
  WithVemofix command(kTable);
  const std::string list = ListOf({cp932::kMsMincho, "RYUMIN"});
  WriteBytes(command.workspace().list(), list);
  const Finished dry = command.RunOn({L"--dry-run"});
  EXPECT_EQ(dry.status, 0u) << Utf8(dry.err);
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);
  EXPECT_FALSE(FileExists(command.workspace().backup()));
  // Whatever the language: the names in the console's code page, and the entry's line.
  EXPECT_NE(dry.out.find(L"ＭＳ明朝"), std::wstring::npos) << Utf8(dry.out);
  EXPECT_NE(dry.out.find(L"MS-Mincho"), std::wstring::npos);
  EXPECT_TRUE(dry.out.find(L"line 7\r\n") != std::wstring::npos ||
              dry.out.find(L"7行目") != std::wstring::npos)
      << "the first entry's FontName: is on line 7";
  EXPECT_NE(dry.out.find(L"\r\n"), std::wstring::npos) << "CR LF line ends in a file";

  const Finished quiet = command.RunOn({L"--quiet"});
  EXPECT_EQ(quiet.status, 0u);
  EXPECT_EQ(quiet.out + quiet.err, L"");
  EXPECT_EQ(ReadBytes(command.workspace().backup()), list);

  WriteBytes(command.workspace().list(), "changed");
  EXPECT_EQ(command.RunOn({L"--restore", L"--quiet"}).status, 0u);
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);
  EXPECT_EQ(ReadBytes(command.workspace().backup()), list);

  const Finished version = command.Run({L"--version"});
  EXPECT_EQ(version.status, 0u);
  EXPECT_EQ(version.out, L"1.2.3\r\n");
}

TEST(VemofixExe, ExitStatusesForAMissingListUsageAndRuntimeErrors) {
  WithVemofix command(kTable);
  const Finished missing = command.RunOn({});
  EXPECT_EQ(missing.status, 1u);
  EXPECT_NE(missing.err.find(command.workspace().list().wstring()), std::wstring::npos)
      << Utf8(missing.err);
  EXPECT_FALSE(FileExists(command.workspace().backup()));

  EXPECT_EQ(command.Run({L"--illustrator", L"11"}).status, 2u);
  EXPECT_EQ(command.Run({L"--no-such-option"}).status, 2u);

  // A list Illustrator cannot have changed yet: read-only. Error 75, the list as it was.
  const std::string list = ListOf({cp932::kMsMincho});
  WriteBytes(command.workspace().list(), list);
  SetFileAttributesW(command.workspace().list().c_str(), FILE_ATTRIBUTE_READONLY);
  const Finished readOnly = command.RunOn({});
  EXPECT_EQ(readOnly.status, 3u);
  EXPECT_EQ(Utf8(readOnly.err), Utf8(ErrorMessageText(75) + L"\r\n"));
  SetFileAttributesW(command.workspace().list().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);

  // 1025 rows: error 9 in the error dialog's words, and no file touched.
  std::string big;
  for (int row = 1; row <= 1025; ++row) big += Row(std::to_string(row), "B");
  WriteBytes(command.workspace().fonts_txt(), big);
  // The backup the failed run made is a copy of the read-only list, attribute and all.
  SetFileAttributesW(command.workspace().backup().c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(DeleteFileW(command.workspace().backup().c_str()));
  const Finished tooMany = command.RunOn({});
  EXPECT_EQ(tooMany.status, 3u);
  EXPECT_EQ(Utf8(tooMany.err), Utf8(ErrorMessageText(9) + L"\r\n"));
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);
  EXPECT_FALSE(FileExists(command.workspace().backup()));
}

}  // namespace
}  // namespace vemo::e2e
