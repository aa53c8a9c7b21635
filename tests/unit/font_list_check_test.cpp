// The check of the font list: which entries it lists, in which state, and the rows a user's
// choices append to the table.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fontfix/font_list_check.h"
#include "platform/file_ranges.h"
#include "platform/runtime_error.h"
#include "tests/unit/font_files.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

using namespace vemo::testing::fonts;

// Font files in memory, under "/fonts".
class FakeFonts : public FileRanges {
 public:
  std::unique_ptr<OpenFile> Open(const std::wstring& path) override {
    const auto found = files.find(path);
    if (found == files.end()) throw RuntimeError(err::kFileNotFound);
    return std::make_unique<BytesFile>(found->second);
  }
  std::vector<std::wstring> FilesUnder(const std::wstring& folder) override {
    std::vector<std::wstring> under;
    for (const auto& [path, bytes] : files)
      if (path.starts_with(folder + L"/")) under.push_back(path);
    return under;
  }
  std::map<std::wstring, std::string> files;
};

std::string FontNamed(const std::u16string& japanese, const std::u16string& postScript) {
  return Face(NameTable({Win(6, postScript, 0x0409), Win(4, japanese)}));
}

// CP932 bytes of the names below.
const std::string kMsMincho = "\x82\x6C\x82\x72\x96\xBE\x92\xA9";  // ＭＳ明朝
const std::string kIpaMincho = "IPA\x96\xBE\x92\xA9";              // IPA明朝
const std::string kGothic = "\x83\x53\x83\x56\x83\x62\x83\x4E";    // ゴシック
const std::string kNone = "\x82\xC8\x82\xA2\x96\xBE\x92\xA9";      // ない明朝

class CheckFontListTest : public ::testing::Test {
 protected:
  CheckFontListTest() {
    fonts.files[L"/fonts/ipam.ttf"] = FontNamed(u"IPA明朝", u"IPAMincho");
    fonts.files[L"/fonts/a.ttf"] = FontNamed(u"ゴシック", u"GothicA");
    fonts.files[L"/fonts/b.ttf"] = FontNamed(u"ゴシック", u"GothicB");
    sources.folders = {L"/fonts"};
    sources.outlinePath = [](std::string_view) { return std::wstring(); };
  }

  FontListCheck Check(const std::string& tableRows) {
    testing::Parsed parsed = testing::Parse(tableRows);
    table = std::move(parsed.table);
    rewrite = RewriteFontList(list, table);
    return CheckFontList(rewrite, list, sources, fonts);
  }

  const std::string list = "%!\r\nFontName:" + kMsMincho +
                           "\r\nFontName:Arial\r\nFontName:" + kIpaMincho +
                           "\r\nFontName:" + kGothic + "\r\nFontName:" + kNone + "\r\n";
  FakeFonts fonts;
  FontSources sources;
  FontTable table;
  RewriteResult rewrite;
};

TEST_F(CheckFontListTest, ListsWhatTheTableFixesAndWhatIllustratorCannotUseWithItsFonts) {
  const FontListCheck check = Check(kMsMincho + ",MS-Mincho\r\n");
  struct Row {
    std::int64_t line;
    std::string registered;
    CheckState state;
    std::string fixed;
    std::vector<std::string> postScript;
  };
  const std::vector<Row> expected = {
      {2, kMsMincho, CheckState::kFixedByTable, "MS-Mincho", {}},
      {4, kIpaMincho, CheckState::kOneCandidate, "", {"IPAMincho"}},
      {5, kGothic, CheckState::kCandidates, "", {"GothicA", "GothicB"}},
      {6, kNone, CheckState::kNoFont, "", {}},
  };
  ASSERT_EQ(check.rows.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const CheckRow& row = check.rows[i];
    EXPECT_EQ(row.line, expected[i].line);
    EXPECT_EQ(row.registered, expected[i].registered);
    EXPECT_EQ(row.state, expected[i].state);
    EXPECT_EQ(row.fixed, expected[i].fixed);
    std::vector<std::string> names;
    for (const FaceRef& face : row.faces) names.push_back(face.postScript);
    EXPECT_EQ(names, expected[i].postScript);
  }
  EXPECT_EQ(check.fontFiles, 3u);
  EXPECT_EQ(check.Count(CheckState::kCandidates), 1u);
}

// The rows of the candidate and of the chosen one of several, appended, fix their entries:
// checked again, both are what the table fixes.
TEST_F(CheckFontListTest, TheChosenRowsAppendedFixTheirEntries) {
  const std::string tableBytes = kMsMincho + ",MS-Mincho\r\n";
  const FontListCheck check = Check(tableBytes);
  const std::vector<NewRow> rows = {RowFor(check.rows[1], rewrite, "IPAMincho"),
                                    RowFor(check.rows[2], rewrite, "GothicB")};
  const TableAddition addition = AppendRows(tableBytes, table, list, rows);
  ASSERT_EQ(addition.added, 2u);
  EXPECT_EQ(addition.table, tableBytes + kIpaMincho + ",IPAMincho\r\n" + kGothic + ",GothicB\r\n");

  const FontListCheck after = Check(addition.table);
  ASSERT_EQ(after.rows.size(), 4u);
  EXPECT_EQ(after.Count(CheckState::kFixedByTable), 3u);
  EXPECT_EQ(after.rows[2].fixed, "GothicB");
  EXPECT_EQ(after.rows[3].state, CheckState::kNoFont);
}

}  // namespace
}  // namespace vemo
