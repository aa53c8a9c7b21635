#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fontfix/fix_font_list.h"
#include "fontfix/folder_text.h"
#include "platform/runtime_error.h"
#include "platform/virtualization.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

TEST(TargetFolder, TrimsBlanksAndEndsInOneBackslash) {
  EXPECT_EQ(TargetFolder(L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt"),
            L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt\\");
  EXPECT_EQ(TargetFolder(L" \t\u3000D:\\Fonts\\ \u3000\t"), L"D:\\Fonts\\");
  EXPECT_EQ(TargetFolder(L"D:\\My Fonts"), L"D:\\My Fonts\\");
  EXPECT_EQ(TargetFolder(L""), L"\\");
  EXPECT_EQ(TargetFolder(L" \u3000 \t"), L"\\");
  EXPECT_EQ(TrimBlanks(L"\u3000a b\u3000"), L"a b");
}

class FixFontListTest : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kList = L"C:\\TypeSpt\\AdobeFnt05.lst";
  static constexpr const wchar_t* kBackup = L"C:\\Tool\\AdobeFnt05.lst のバックアップ";

  FixFontListTest() {
    input.opt10 = true;
    input.folderText = L" C:\\TypeSpt ";
    input.programFolder = L"C:\\Tool";
    table.Append("Ryumin-Light", "Ryumin-Light-KL");
  }

  bool Run() {
    outcome = FixFontList(input, table, files, virtualization);
    return outcome.rewrite.has_value();
  }

  std::int32_t RunForError() {
    try {
      Run();
    } catch (const RuntimeError& e) {
      return e.Number();
    }
    return 0;
  }

  FixFontListInput input;
  FontTable table;
  testing::FakeFileSystem files;
  NoVirtualization virtualization;
  FontListFix outcome;
};

TEST_F(FixFontListTest, MissingListGivesItsPathAndTouchesNothing) {
  EXPECT_FALSE(Run());
  EXPECT_EQ(outcome.list.path, L"C:\\TypeSpt\\AdobeFnt05.lst");
  EXPECT_EQ(files.calls, std::vector<std::wstring>{L"exists C:\\TypeSpt\\AdobeFnt05.lst"});
  EXPECT_TRUE(files.files.empty());
}

// One read: the backup is made from the bytes that are rewritten, never from a second read.
TEST_F(FixFontListTest, ReadsOnceThenBacksUpThoseBytesRewritesAndReplaces) {
  files.files[kList] = "%BeginFont\r\nFontName:Ryumin-Light\r\n%EndFont\r\n";
  EXPECT_TRUE(Run());
  EXPECT_EQ(outcome.rewrite->backup, Backup::kMade);
  EXPECT_EQ(files.calls, (std::vector<std::wstring>{
                             L"exists C:\\TypeSpt\\AdobeFnt05.lst",
                             std::wstring(L"exists ") + kBackup,
                             L"read C:\\TypeSpt\\AdobeFnt05.lst",
                             std::wstring(L"create ") + kBackup,
                             L"replace C:\\TypeSpt\\AdobeFnt05.lst",
                         }));
  EXPECT_EQ(files.files[kList], "%BeginFont\r\nFontName:Ryumin-Light-KL\r\n%EndFont\r\n");
  EXPECT_EQ(files.files[kBackup], "%BeginFont\r\nFontName:Ryumin-Light\r\n%EndFont\r\n");
}

// Another run's backup, made before this one or while it ran, is no error and stays.
TEST_F(FixFontListTest, TheBackupIsMadeOnceAndNeverOverwritten) {
  files.files[kList] = "FontName:Ryumin-Light";
  ASSERT_EQ(RewriteListFile({kList, kBackup}, table, files)->backup, Backup::kMade);
  files.files[kList] = "FontName:Ryumin-Light changed since";
  EXPECT_EQ(RewriteListFile({kList, kBackup}, table, files)->backup, Backup::kKept);
  EXPECT_EQ(files.files[kBackup], "FontName:Ryumin-Light");
  EXPECT_EQ(files.files[kList], "FontName:Ryumin-Light-KL changed since");
}

TEST_F(FixFontListTest, Illustrator8And9UseTheOlderListName) {
  input.opt10 = false;
  input.folderText = L"C:\\TypeSpt\\";
  files.files[L"C:\\TypeSpt\\AdobeFnt.lst"] = "FontName:Ryumin-Light";
  EXPECT_TRUE(Run());
  EXPECT_EQ(files.files[L"C:\\TypeSpt\\AdobeFnt.lst"], "FontName:Ryumin-Light-KL");
  EXPECT_EQ(files.files[L"C:\\Tool\\AdobeFnt.lst のバックアップ"], "FontName:Ryumin-Light");
}

TEST_F(FixFontListTest, AnEmptyTableStillBacksUpAndWritesTheSameBytes) {
  const std::string list = std::string("FontName:Ryumin-Light\r\n\x1A\0", 25);
  files.files[kList] = list;
  table.ResetCount();
  EXPECT_TRUE(Run());
  EXPECT_EQ(files.files[kList], list);
  EXPECT_EQ(files.files[kBackup], list);
  EXPECT_EQ(files.calls.back(), L"replace C:\\TypeSpt\\AdobeFnt05.lst");
}

TEST_F(FixFontListTest, ErrorAtRow1025WritesNothing) {
  files.files[kList] = "FontName:Ryumin-Light";
  testing::AppendEmptyRows(table, 1025);
  EXPECT_EQ(RunForError(), err::kSubscriptOutOfRange);
  EXPECT_EQ(files.files[kList], "FontName:Ryumin-Light");
  EXPECT_NE(files.calls.back().rfind(L"replace", 0), 0u);
  EXPECT_EQ(files.files.count(kBackup), 1u);  // made before the rewrite, and kept
}

TEST_F(FixFontListTest, FailuresPassThroughAndLeaveTheListAsItWas) {
  files.files[kList] = "FontName:Ryumin-Light";
  files.failures[L"replace"] = err::kPermissionDenied;
  EXPECT_EQ(RunForError(), err::kPermissionDenied);
  EXPECT_EQ(files.files[kList], "FontName:Ryumin-Light");

  files.failures = {{L"create", err::kDiskFull}};
  files.files.erase(kBackup);
  files.calls.clear();
  EXPECT_EQ(RunForError(), err::kDiskFull);
  EXPECT_EQ(files.calls.back(), std::wstring(L"create ") + kBackup);

  files.failures = {{L"read", err::kPermissionDenied}};
  EXPECT_EQ(RunForError(), err::kPermissionDenied);
  EXPECT_EQ(files.files[kList], "FontName:Ryumin-Light");
}

}  // namespace
}  // namespace vemo
