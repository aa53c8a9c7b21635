// vemofix's command line: every option, both value forms, and what is a usage error.
#include <gtest/gtest.h>

#include "cli/options.h"

namespace vemo::cli {
namespace {

Options Parse(std::vector<std::wstring> args) {
  return ParseOptions(args);
}

UsageError::Kind Refused(std::vector<std::wstring> args) {
  try {
    (void)ParseOptions(args);
  } catch (const UsageError& error) {
    return error.kind;
  }
  ADD_FAILURE() << "accepted";
  return UsageError::Kind::kNoDefaultFolder;
}

TEST(CliOptions, DefaultsAndEveryOption) {
  const Options none = Parse({});
  EXPECT_EQ(none.illustrator, 10);
  EXPECT_EQ(ListName(none), L"AdobeFnt05.lst");
  EXPECT_FALSE(none.folder || none.table || none.backupDir);
  EXPECT_FALSE(none.dryRun || none.restore || none.quiet || none.help || none.version);

  const Options all = Parse({L"--illustrator", L"9", L"--folder", L"D:\\Type Spt", L"--table",
                             L"\\\\server\\share\\Fonts.txt", L"--backup-dir", L"E:\\keep",
                             L"--dry-run", L"--quiet"});
  EXPECT_EQ(all.illustrator, 9);
  EXPECT_EQ(ListName(all), L"AdobeFnt.lst");
  EXPECT_EQ(*all.folder, L"D:\\Type Spt");
  EXPECT_EQ(*all.table, L"\\\\server\\share\\Fonts.txt");
  EXPECT_EQ(*all.backupDir, L"E:\\keep");
  EXPECT_TRUE(all.dryRun && all.quiet);
  EXPECT_TRUE(Parse({L"--restore"}).restore);
  EXPECT_TRUE(Parse({L"--help"}).help);
  EXPECT_TRUE(Parse({L"--version"}).version);
  const Options suggest =
      Parse({L"--suggest", L"--add-to-table", L"--fonts", L"/a", L"--fonts=/b", L"--fonts", L"/a"});
  EXPECT_TRUE(suggest.suggest && suggest.addToTable);
  EXPECT_EQ(suggest.fonts, (std::vector<std::wstring>{L"/a", L"/b", L"/a"}));
}

TEST(CliOptions, ValuesAfterAnEqualsSignAndLaterOptionsWin) {
  const Options options =
      Parse({L"--illustrator=8", L"--folder=/a=b", L"--folder", L"/c", L"--table="});
  EXPECT_EQ(options.illustrator, 8);
  EXPECT_EQ(ListName(options), L"AdobeFnt.lst");
  EXPECT_EQ(*options.folder, L"/c");
  EXPECT_EQ(*options.table, L"");
  // A value may look like an option: it is taken as the value.
  EXPECT_EQ(*Parse({L"--folder", L"--quiet"}).folder, L"--quiet");
  EXPECT_EQ(Parse({L"--illustrator", L"10", L"--illustrator", L"9"}).illustrator, 9);
}

TEST(CliOptions, UsageErrors) {
  using Kind = UsageError::Kind;
  EXPECT_EQ(Refused({L"--bogus"}), Kind::kUnknownOption);
  EXPECT_EQ(Refused({L"-q"}), Kind::kExtraArgument);
  EXPECT_EQ(Refused({L"--quiet=yes"}), Kind::kUnknownOption);
  EXPECT_EQ(Refused({L"--DRY-RUN"}), Kind::kUnknownOption);
  EXPECT_EQ(Refused({L"AdobeFnt05.lst"}), Kind::kExtraArgument);
  EXPECT_EQ(Refused({L"--folder"}), Kind::kMissingValue);
  EXPECT_EQ(Refused({L"--quiet", L"--backup-dir"}), Kind::kMissingValue);
  for (const wchar_t* bad : {L"7", L"11", L"", L"10.0", L" 9", L"CS"})
    EXPECT_EQ(Refused({L"--illustrator", bad}), Kind::kBadVersion) << bad;
  EXPECT_EQ(Refused({L"--dry-run", L"--restore"}), Kind::kDryRunRestore);
  EXPECT_EQ(Refused({L"--suggest", L"--dry-run"}), Kind::kSuggestWith);
  EXPECT_EQ(Refused({L"--restore", L"--suggest"}), Kind::kSuggestWith);
  EXPECT_EQ(Refused({L"--add-to-table"}), Kind::kAddWithoutSuggest);
  EXPECT_EQ(Refused({L"--fonts"}), Kind::kMissingValue);
  // Asking for help or the version is never refused for the combination.
  EXPECT_TRUE(Parse({L"--dry-run", L"--restore", L"--help"}).help);
}

}  // namespace
}  // namespace vemo::cli
