// vemofix's whole run on an in-memory file system: report, summary, exit status, and the
// same file work as the window (backup once, nothing written after an error).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cli/vemofix.h"
#include "errors/report_error.h"
#include "fontfix/table_file.h"
#include "platform/runtime_error.h"
#include "platform/utf8.h"
#include "platform/posix/file_ranges_posix.h"
#include "platform/virtualization.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_running_programs.h"
#include "tests/fakes/fake_workstation.h"

namespace vemo::cli {
namespace {

class FakeConsole : public Console {
 public:
  void Out(std::wstring_view text) override { out += text; }
  void Err(std::wstring_view text) override { err += text; }
  std::wstring out;
  std::wstring err;
};

// A Windows-like machine: the program in C:\Tool with its table, the list in C:\TypeSpt.
class Vemofix : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kTable = L"C:\\Tool\\Fonts.txt";
  static constexpr const wchar_t* kList = L"C:\\TypeSpt\\AdobeFnt05.lst";
  static constexpr const wchar_t* kBackup = L"C:\\Tool\\AdobeFnt05.lst のバックアップ";
  // ＭＳ明朝 in CP932.
  const std::string kMincho = "\x82\x6C\x82\x72\x96\xBE\x92\xA9";
  const std::string kOriginal = "%hdr\r\nFontName:" + kMincho + "\r\nFontName:Ryumin\r\n";
  const std::string kRewritten = "%hdr\r\nFontName:MS-Mincho\r\nFontName:Ryumin\r\n";

  Vemofix() {
    environment.language = Language::kEnglish;
    environment.programFolder = L"C:\\Tool";
    environment.defaultFolder = L"C:\\TypeSpt";
    environment.separator = L'\\';
    files.files[kTable] = kMincho + ",MS-Mincho\r\nArial,Arial-MT\r\n\"\",X\r\n";
    files.files[kList] = kOriginal;
  }

  int Run(std::vector<std::wstring> args) {
    console = FakeConsole();
    files.calls.clear();
    return RunVemofix(args, environment,
                      {files, virtualization, fonts, programs, workstation, console});
  }

  bool Wrote() const {
    for (const std::wstring& call : files.calls)
      if (call.starts_with(L"create") || call.starts_with(L"replace")) return true;
    return false;
  }

  Environment environment;
  testing::FakeFileSystem files;
  PosixFileRanges fonts;
  NoVirtualization virtualization;
  testing::FakeRunningPrograms programs;
  testing::FakeWorkstation workstation;
  FakeConsole console;
};

TEST_F(Vemofix, RewritesReportsEveryRowAndBacksUpOnce) {
  EXPECT_EQ(Run({}), kDone);
  EXPECT_EQ(files.files[kList], kRewritten);
  EXPECT_EQ(files.files[kBackup], kOriginal);
  EXPECT_EQ(console.out,
            L"font list: C:\\TypeSpt\\AdobeFnt05.lst\n"
            L"row 1: \"ＭＳ明朝\" -> \"MS-Mincho\": replaced the entry on line 2\n"
            L"row 2: \"Arial\" -> \"Arial-MT\": no entry matched\n"
            L"row 3: \"\" -> \"X\": skipped (empty name)\n"
            L"rows: 1 applied, 1 not found, 1 skipped as empty\n"
            L"backup made: C:\\Tool\\AdobeFnt05.lst のバックアップ\n");
  EXPECT_EQ(console.err, L"");

  // A second run on a changed list keeps the first backup and writes no second one.
  files.files[kList] = "FontName:Arial";
  EXPECT_EQ(Run({}), kDone);
  EXPECT_EQ(files.files[kList], "FontName:Arial-MT");
  EXPECT_EQ(files.files[kBackup], kOriginal);
  EXPECT_NE(console.out.find(L"the backup was there already and was kept: "), std::wstring::npos);
  EXPECT_EQ(files.calls,
            (std::vector<std::wstring>{
                L"exists C:\\Tool\\Fonts.txt", L"read C:\\Tool\\Fonts.txt",
                L"exists C:\\TypeSpt\\AdobeFnt05.lst", std::wstring(L"exists ") + kBackup,
                L"read C:\\TypeSpt\\AdobeFnt05.lst", L"replace C:\\TypeSpt\\AdobeFnt05.lst"}));
}

TEST_F(Vemofix, SpeaksJapaneseInAJapaneseLocale) {
  environment.language = Language::kJapanese;
  EXPECT_EQ(Run({L"--dry-run"}), kDone);
  EXPECT_EQ(
      console.out,
      L"フォント一覧: C:\\TypeSpt\\AdobeFnt05.lst\n"
      L"表の1行目「ＭＳ明朝」→「MS-Mincho」: 2行目のエントリを置換\n"
      L"表の2行目「Arial」→「Arial-MT」: 該当するエントリなし\n"
      L"表の3行目「」→「X」: 名前が空のため飛ばしました\n"
      L"試行のみ (何も書き込んでいません): 置換 1 行、該当なし 1 行、空のため飛ばした行 1 行\n"
      L"バックアップを作成します: C:\\Tool\\AdobeFnt05.lst のバックアップ\n");
  files.files.erase(kList);
  EXPECT_EQ(Run({}), kListMissing);
  EXPECT_EQ(console.err, L"次のファイルが存在しません。\nC:\\TypeSpt\\AdobeFnt05.lst\n");
}

TEST_F(Vemofix, DryRunReadsButWritesNothing) {
  EXPECT_EQ(Run({L"--dry-run"}), kDone);
  EXPECT_FALSE(Wrote());
  EXPECT_EQ(files.files[kList], kOriginal);
  EXPECT_EQ(files.files.count(kBackup), 0u);
  EXPECT_NE(console.out.find(L"dry run, nothing written: rows: 1 applied"), std::wstring::npos);
  EXPECT_NE(console.out.find(L"replaced the entry on line 2"), std::wstring::npos);
}

TEST_F(Vemofix, AMissingListExitsWith1AndTouchesNothing) {
  files.files.erase(kList);
  for (const auto& args : {std::vector<std::wstring>{}, {L"--dry-run"}, {L"--restore"}}) {
    EXPECT_EQ(Run(args), kListMissing);
    EXPECT_EQ(console.err, L"The following file does not exist:\nC:\\TypeSpt\\AdobeFnt05.lst\n");
    EXPECT_EQ(console.out, L"");
    EXPECT_FALSE(Wrote());
  }
  EXPECT_EQ(files.files.count(kBackup), 0u);
}

TEST_F(Vemofix, A1025RowTableIsError9AndNothingIsWritten) {
  std::string table;
  for (int row = 1; row <= 1025; ++row)
    table += "A" + std::to_string(row) + ",B" + std::to_string(row) + "\r\n";
  files.files[kTable] = table;
  for (const auto& args : {std::vector<std::wstring>{}, {L"--dry-run"}, {L"--quiet"}}) {
    EXPECT_EQ(Run(args), kRuntimeError);
    EXPECT_EQ(console.err,
              std::wstring(kTable) + L": " + ErrorMessageText(err::kSubscriptOutOfRange) + L"\n");
    EXPECT_EQ(console.out, L"");
    EXPECT_FALSE(Wrote());
  }
  EXPECT_EQ(files.files[kList], kOriginal);
  EXPECT_EQ(files.files.count(kBackup), 0u);
}

// Each error line names the file it concerns before the error dialog's words.
TEST_F(Vemofix, RuntimeErrorsExitWith3NamingTheFileInTheErrorDialogsWords) {
  const struct {
    std::vector<std::wstring> args;
    const wchar_t* operation;
    std::int32_t error;
    std::wstring file;
  } cases[] = {
      {{}, L"replace", err::kPermissionDenied, kList},
      {{}, L"create", err::kDiskFull, kBackup},
      {{L"--quiet"}, L"read", err::kPathFileAccessError, kTable},
      {{L"--restore"}, L"replace", err::kPermissionDenied, kList},
      {{L"--suggest", L"--add-to-table"}, L"read", err::kPermissionDenied, kTable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + L" " + c.operation);
    files.files.erase(kBackup);
    if (c.args == std::vector<std::wstring>{L"--restore"}) files.files[kBackup] = kOriginal;
    files.failures = {{c.operation, c.error}};
    EXPECT_EQ(Run(c.args), kRuntimeError);
    EXPECT_EQ(console.err, c.file + L": " + ErrorMessageText(c.error) + L"\n");
    EXPECT_EQ(console.out, L"") << "no report after a failure";
    EXPECT_EQ(files.files[kList], kOriginal);
  }
  files.failures.clear();
  files.files.erase(kBackup);
  files.failures = {{L"replace", err::kPermissionDenied}};
  EXPECT_EQ(Run({}), kRuntimeError);
  EXPECT_EQ(files.files[kBackup], kOriginal) << "a backup made before the failure stays";
}

TEST_F(Vemofix, RestoreCopiesTheBackupBackAndKeepsIt) {
  ASSERT_EQ(Run({}), kDone);
  files.files[kList] = "changed since";
  EXPECT_EQ(Run({L"--restore"}), kDone);
  EXPECT_EQ(files.files[kList], kOriginal);
  EXPECT_EQ(files.files[kBackup], kOriginal);
  EXPECT_EQ(console.out, std::wstring(L"restored ") + kBackup + L" over " + kList + L"\n");
  EXPECT_EQ(files.calls.back(), std::wstring(L"replace ") + kList) << "atomic, as the rewrite";

  files.files.erase(kBackup);
  EXPECT_EQ(Run({L"--restore"}), kRuntimeError);
  EXPECT_EQ(console.err,
            std::wstring(kBackup) + L": " + ErrorMessageText(err::kFileNotFound) + L"\n");
  EXPECT_EQ(files.files[kList], kOriginal);
}

TEST_F(Vemofix, QuietPrintsNothingButProblems) {
  EXPECT_EQ(Run({L"--quiet"}), kDone);
  EXPECT_EQ(files.files[kList], kRewritten);
  EXPECT_EQ(console.out + console.err, L"");
  EXPECT_EQ(Run({L"--quiet", L"--restore"}), kDone);
  EXPECT_EQ(console.out + console.err, L"");
}

TEST_F(Vemofix, OptionsChooseTheListTheFoldersAndTheTable) {
  files.files[L"D:\\Adobe\\AdobeFnt.lst"] = kOriginal;
  files.files[L"\\\\srv\\share\\Fonts.txt"] = "Ryumin,Ryumin-Light\r\n";
  EXPECT_EQ(Run({L"--illustrator", L"8", L"--folder", L" D:\\Adobe\\ ", L"--table",
                 L"\\\\srv\\share\\Fonts.txt", L"--backup-dir", L"E:\\"}),
            kDone);
  EXPECT_EQ(files.files[L"D:\\Adobe\\AdobeFnt.lst"],
            "%hdr\r\nFontName:" + kMincho + "\r\nFontName:Ryumin-Light\r\n");
  EXPECT_EQ(files.files[L"E:\\AdobeFnt.lst のバックアップ"], kOriginal);
  EXPECT_EQ(files.files[kList], kOriginal);

  // Without --backup-dir the backup goes beside the table.
  EXPECT_EQ(Run({L"--table", L"\\\\srv\\share\\Fonts.txt"}), kDone);
  EXPECT_EQ(files.files[L"\\\\srv\\share\\AdobeFnt05.lst のバックアップ"], kOriginal);
}

TEST_F(Vemofix, AMissingTableFailsWith2AndTouchesNothing) {
  files.files.erase(kTable);
  EXPECT_EQ(Run({}), kUsage);
  EXPECT_EQ(console.err,
            L"vemofix: the rename table is missing, nothing was changed: C:\\Tool\\Fonts.txt\n");
  EXPECT_EQ(files.files[kList], kOriginal);
  EXPECT_EQ(files.files.count(kBackup), 0u);
  EXPECT_EQ(console.out, L"");
}

TEST_F(Vemofix, UsageErrorsExitWith2BeforeAnyFileWork) {
  for (const auto& args : {std::vector<std::wstring>{L"--bogus"},
                           {L"--illustrator", L"7"},
                           {L"--folder"},
                           {L"extra"},
                           {L"--dry-run", L"--restore"}}) {
    EXPECT_EQ(Run(args), kUsage) << console.err.size();
    EXPECT_TRUE(console.err.starts_with(L"vemofix: "));
    EXPECT_TRUE(console.err.ends_with(L"Try 'vemofix --help'.\n"));
    EXPECT_TRUE(files.calls.empty());
  }
  environment.defaultFolder.reset();
  EXPECT_EQ(Run({}), kUsage);
  EXPECT_NE(console.err.find(L"WINEPREFIX"), std::wstring::npos);
  EXPECT_EQ(Run({L"--folder", L"C:\\TypeSpt"}), kDone);
}

TEST_F(Vemofix, HelpListsEveryOptionAndVersionIs123) {
  EXPECT_EQ(Run({L"--version"}), kDone);
  EXPECT_EQ(console.out, L"1.2.3\n");
  EXPECT_EQ(Run({L"--help"}), kDone);
  for (const wchar_t* option :
       {L"--illustrator 10|8|9", L"--folder DIR", L"--table FILE", L"--backup-dir DIR",
        L"--dry-run", L"--restore", L"--quiet", L"--help", L"--version", L"C:\\TypeSpt"})
    EXPECT_NE(console.out.find(option), std::wstring::npos) << option;
  EXPECT_TRUE(files.calls.empty());
}

// Only the runs that write refuse: a dry run and a plain --suggest read the list as it is.
TEST_F(Vemofix, WhileIllustratorOrPhotoshopRunsARunThatWritesExitsWith5AndTouchesNothing) {
  const struct {
    std::vector<std::wstring> args;
    bool refused;
  } cases[] = {
      {{}, true},
      {{L"--restore"}, true},
      {{L"--suggest", L"--add-to-table"}, true},
      {{L"--dry-run"}, false},
      {{L"--suggest"}, false},
  };
  files.files[kBackup] = kOriginal;
  for (const wchar_t* program : {L"illustrator.EXE", L"Photoshp.exe"}) {
    programs.running = {L"explorer.exe", program};
    for (const auto& c : cases) {
      SCOPED_TRACE(program + (L" " + (c.args.empty() ? L"" : c.args[0])));
      const int status = Run(c.args);
      if (!c.refused) {
        EXPECT_NE(status, kAdobeRunning);
        EXPECT_FALSE(files.calls.empty());
        continue;
      }
      EXPECT_EQ(status, kAdobeRunning);
      EXPECT_EQ(console.err,
                L"vemofix: Illustrator or Photoshop is running. Close it, then run again.\n");
      EXPECT_EQ(console.out, L"");
      EXPECT_EQ(files.calls, std::vector<std::wstring>{}) << "nothing read, nothing written";
    }
  }
  programs.running = {L"Illustrator.exe.bak", L"Photoshop.exe"};
  EXPECT_EQ(Run({}), kDone);
}

// One line a run, appended: who, where, when, what was read and written, how each row fared,
// and the error with its file.
TEST_F(Vemofix, LogAppendsOneRecordForEveryRun) {
  const std::wstring log = L"\\\\server\\logs\\vemofix.log";
  const std::string head =
      "time=2026-12-24T08:30:05+09:00\tcomputer=PC01\tuser=taro\tversion=1.2.3";
  const std::string list = "\tlist=C:\\TypeSpt\\AdobeFnt05.lst";
  files.files[kList] += "FontName:Gothic\x83\x53\r\n";
  const struct {
    std::vector<std::wstring> args;
    std::function<void()> arrange;
    std::string record;
  } cases[] = {
      {{},
       [] {},
       head + "\tmode=fix\tstatus=0" + list +
           "\tapplied=1\tnotfound=1\tskipped=1\tunusable=1\tbackup=made"},
      {{L"--quiet"},
       [] {},
       head + "\tmode=fix\tstatus=0" + list +
           "\tapplied=0\tnotfound=2\tskipped=1\tunusable=1\tbackup=kept"},
      {{L"--dry-run"},
       [this] { workstation.now.utcOffsetMinutes = -330; },
       "time=2026-12-24T08:30:05-05:30\tcomputer=PC01\tuser=taro\tversion=1.2.3\tmode=dry-run"
       "\tstatus=0" +
           list + "\tapplied=0\tnotfound=2\tskipped=1\tunusable=1"},
      {{L"--restore"},
       [this] { workstation.now.utcOffsetMinutes = 540; },
       head + "\tmode=restore\tstatus=0" + list},
      {{L"--illustrator", L"9"},
       [] {},
       head + "\tmode=fix\tstatus=1\tlist=C:\\TypeSpt\\AdobeFnt.lst\terror=The following file "
              "does not exist:\terror_file=C:\\TypeSpt\\AdobeFnt.lst"},
      {{L"--suggest"},
       [this] { files.failures[L"read"] = err::kPermissionDenied; },
       head + "\tmode=suggest\tstatus=3\terror=" +
           Utf8FromText(ErrorMessageText(err::kPermissionDenied)) +
           "\terror_file=C:\\Tool\\Fonts.txt"},
      {{L"--suggest", L"--add-to-table"},
       [this] { programs.running = {L"Photoshp.exe"}; },
       head + "\tmode=add-to-table\tstatus=5\terror=Illustrator or Photoshop is running. "
              "Close it, then run again."},
  };
  std::string expected;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    files.failures.clear();
    programs.running.clear();
    c.arrange();
    std::vector<std::wstring> args = c.args;
    args.insert(args.end(), {L"--log", log});
    Run(args);
    expected += c.record + "\r\n";
    EXPECT_EQ(files.files[log], expected);
    EXPECT_EQ(files.calls.back(), L"append " + log);
  }
}

// The run is what it would have been without the log; a warning says what went wrong.
TEST_F(Vemofix, ALogThatCannotBeWrittenChangesNeitherTheRunNorItsStatus) {
  files.failures[L"append"] = err::kPathNotFound;
  EXPECT_EQ(Run({L"--quiet", L"--log", L"Z:\\nowhere\\vemofix.log"}), kDone);
  EXPECT_EQ(files.files[kList], kRewritten);
  EXPECT_EQ(console.err, L"vemofix: warning: the log was not written: Z:\\nowhere\\vemofix.log: " +
                             ErrorMessageText(err::kPathNotFound) + L"\n");
}

TEST(VemofixReport, NamesWithControlCharactersStayOnOneLine) {
  FontTable table;
  table.Set(1, 1, "A\r\nB\t\x01");
  table.Set(1, 2, "C");
  EXPECT_EQ(RowReport(table, {RowOutcome{RowResult::kApplied, 7}}, Language::kEnglish),
            L"row 1: \"A\\r\\nB\\t\\x01\" -> \"C\": replaced the entry on line 7\n");
}

TEST(VemofixPaths, FoldersAndDefaults) {
  EXPECT_EQ(InFolder(L" C:\\TypeSpt ", L"a.lst", L'\\'), L"C:\\TypeSpt\\a.lst");
  EXPECT_EQ(InFolder(L"", L"a.lst", L'\\'), L"\\a.lst");
  EXPECT_EQ(InFolder(L"/x/", L"a.lst", L'/'), L"/x/a.lst");
  EXPECT_EQ(InFolder(L" /x", L"a.lst", L'/'), L" /x/a.lst") << "no blanks trimmed on POSIX";
  EXPECT_EQ(FolderOrCurrent(L"C:\\Tool\\Fonts.txt"), L"C:\\Tool");
  EXPECT_EQ(FolderOrCurrent(L"C:\\Fonts.txt"), L"C:\\");
  EXPECT_EQ(FolderOrCurrent(L"/Fonts.txt"), L"/");
  EXPECT_EQ(FolderOrCurrent(L"dir/Fonts.txt"), L"dir");
  EXPECT_EQ(FolderOrCurrent(L"Fonts.txt"), L".");

  EXPECT_TRUE(IsJapaneseLocale(nullptr, nullptr, "ja_JP.UTF-8"));
  EXPECT_TRUE(IsJapaneseLocale("ja_JP.eucJP", "C", "en_US.UTF-8"));
  EXPECT_FALSE(IsJapaneseLocale("C", nullptr, "ja_JP.UTF-8"));
  EXPECT_TRUE(IsJapaneseLocale("", "ja", "en_US"));
  EXPECT_FALSE(IsJapaneseLocale(nullptr, nullptr, nullptr));

  EXPECT_EQ(*WinePrefix(L"/opt/ai", L"/home/u"), L"/opt/ai");
  EXPECT_EQ(*WinePrefix(L"", L"/home/u"), L"/home/u/.wine");
  EXPECT_FALSE(WinePrefix(std::nullopt, std::nullopt));
  EXPECT_EQ(InWinePrefix(L"/opt/ai", L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt"),
            L"/opt/ai/drive_c/Program Files/Common Files/Adobe/TypeSpt");
  EXPECT_EQ(InWinePrefix(L"/opt/ai/", L"c:/windows/Fonts"), L"/opt/ai/drive_c/windows/Fonts");
  EXPECT_EQ(InWinePrefix(L"/opt/ai", L"Z:\\usr\\share\\fonts\\a.ttf"),
            L"/opt/ai/dosdevices/z:/usr/share/fonts/a.ttf");
  EXPECT_EQ(InWinePrefix(L"/opt/ai", L"/usr/share/fonts/a.ttf"), L"/usr/share/fonts/a.ttf");
  EXPECT_EQ(InWinePrefix(L"/opt/ai", L"fonts\\a.ttf"), L"");
}

}  // namespace
}  // namespace vemo::cli

namespace vemo::cli {
namespace {

// Natively, the window's FixFontList stands for the window: the same inputs through it and
// through vemofix leave the same list and backup, run after run.
TEST(VemofixAndFixFontList, LeaveTheSameFilesForTheSameInputs) {
  const std::string table = "A,B\r\nb,C\r\n\"x,y\",Z\r\nQ,\r\nfontname,N\r\n";
  const std::vector<std::string> lists = {"FontName:A\r\nFontName:x,y\r\n", "FONTNAME:a FontName:b",
                                          "nothing here", "FontName:AFontName:fontname"};
  testing::FakeFileSystem window;
  testing::FakeFileSystem command;
  NoVirtualization virtualization;
  window.files[L"C:\\Tool\\Fonts.txt"] = command.files[L"C:\\Tool\\Fonts.txt"] = table;
  Environment environment;
  environment.programFolder = L"C:\\Tool";
  environment.defaultFolder = L"C:\\TypeSpt";
  environment.separator = L'\\';
  FontTable fontTable;
  (void)ParseFontTable(table, fontTable);
  for (bool opt10 : {true, false}) {
    const std::wstring name = opt10 ? L"AdobeFnt05.lst" : L"AdobeFnt.lst";
    for (const std::string& list : lists) {
      window.files[L"C:\\TypeSpt\\" + name] = command.files[L"C:\\TypeSpt\\" + name] = list;
      ASSERT_TRUE(FixFontList(FixFontListInput{opt10, L"C:\\TypeSpt", L"C:\\Tool"}, fontTable,
                              window, virtualization)
                      .rewrite);
      FakeConsole console;
      PosixFileRanges fonts;
      testing::FakeRunningPrograms programs;
      testing::FakeWorkstation workstation;
      ASSERT_EQ(RunVemofix({L"--quiet", L"--illustrator", opt10 ? L"10" : L"9"}, environment,
                           {command, virtualization, fonts, programs, workstation, console}),
                kDone);
      EXPECT_EQ(command.files, window.files) << list;
    }
  }
}

}  // namespace
}  // namespace vemo::cli
