// The font name reader: what it takes from a well-formed file, every way a file can lie about
// its own bytes, and every font file on this machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fontfix/font_names.h"
#include "tests/unit/font_files.h"
#include "platform/file_ranges.h"
#include "platform/posix/file_ranges_posix.h"
#include "platform/posix/native_path.h"

namespace vemo {
namespace {

using namespace vemo::testing::fonts;

// Offsets into Face(): the `name` record's offset and length, and the name table.
constexpr std::size_t kNameOffsetAt = 12 + 16 + 8;
constexpr std::size_t kNameLengthAt = 12 + 16 + 12;
constexpr std::size_t kNameAt = 12 + 32 + 4;

std::string Patched(std::string bytes, std::size_t at, const std::string& with) {
  return bytes.replace(at, with.size(), with);
}

// ＩＰＡ明朝 in CP932, and the other names as their CP932 bytes.
const std::vector<Rec> kIpa = {Win(6, u"IPAMincho", 0x0409), Win(1, u"IPA明朝"), Win(2, u"Regular"),
                               Win(4, u"IPA明朝")};
const std::string kIpaMincho = "IPA\x96\xBE\x92\xA9";

struct Expected {
  std::string postScript;
  std::vector<std::string> japanese;
};

TEST(ReadFontNames, TakesWhatAFileHoldsAndSkipsWhatLiesAboutItsBytes) {
  const std::string good = Face(NameTable(kIpa));
  const std::string twoFaces = [] {
    // A collection of two faces: the second one's directory after the first face's tables.
    const std::string first = Face(NameTable(kIpa), 20);
    const std::string second =
        Face(NameTable({Win(6, u"Other-Bold", 0x0409), Win(1, u"Other"), Win(2, u"Bold")}),
             static_cast<std::uint32_t>(20 + first.size()));
    return "ttcf" + U32(0x00010000) + U32(2) + U32(20) +
           U32(static_cast<std::uint32_t>(20 + first.size())) + first + second;
  }();
  const struct {
    const char* what;
    std::string bytes;
    FontSkip skip;
    std::vector<Expected> faces;
  } cases[] = {
      {"TrueType", good, FontSkip::kNone, {{"IPAMincho", {kIpaMincho}}}},
      {"OpenType CFF",
       Face(NameTable(kIpa), 0, 0x4F54544F),
       FontSkip::kNone,
       {{"IPAMincho", {kIpaMincho}}}},
      {"Apple's 'true'",
       Face(NameTable(kIpa), 0, 0x74727565),
       FontSkip::kNone,
       {{"IPAMincho", {kIpaMincho}}}},
      {"a collection: every face, ID 1 with a style that is not Regular",
       twoFaces,
       FontSkip::kNone,
       {{"IPAMincho", {kIpaMincho}}, {"Other-Bold", {"Other", "Other Bold"}}}},
      {"ID 16 and ID 1; styles 標準 and Regular in another case left off; no repeats",
       Face(NameTable({Win(6, u"F-W3", 0x0409), Win(1, u"F W3"), Win(2, u"標準"), Win(16, u"F"),
                       Win(17, u"REGULAR"), Win(17, u"x", 0x0409), Win(4, u"F W3")})),
       FontSkip::kNone,
       {{"F-W3", {"F W3", "F"}}}},
      {"Macintosh Japanese bytes as they are; other languages left out",
       Face(NameTable({{1, 0, 0, 6, "MacName"},
                       {1, 1, 11, 4, "\x83\x65\x83\x58\x83\x67"},
                       Win(4, u"English", 0x0409),
                       {1, 1, 0, 4, "Roman"}})),
       FontSkip::kNone,
       {{"MacName", {"\x83\x65\x83\x58\x83\x67"}}}},
      {"names CP932 cannot hold, or outside the basic plane, are left out",
       Face(NameTable({Win(6, u"P", 0x0409), Win(4, u"한글"), Win(1, u"a\U0001F600")})),
       FontSkip::kNone,
       {{"P", {}}}},
      {"no name ID 6",
       Face(NameTable({Win(4, u"IPA明朝")})),
       FontSkip::kNone,
       {{"", {kIpaMincho}}}},
      {"no signature", Patched(good, 0, U32(0x00020000)), FontSkip::kNotAFont, {}},
      {"three bytes", "OTT", FontSkip::kNotAFont, {}},
      {"cut inside the header", good.substr(0, 10), FontSkip::kShort, {}},
      {"cut inside the directory", good.substr(0, 30), FontSkip::kShort, {}},
      {"a directory of 65535 tables", Patched(good, 4, U16(0xFFFF)), FontSkip::kShort, {}},
      {"the name table cut short", good.substr(0, good.size() - 1), FontSkip::kPastEnd, {}},
      {"the name table's offset past the end",
       Patched(good, kNameOffsetAt, U32(0xFFFFFFF0)),
       FontSkip::kPastEnd,
       {}},
      {"the name table's length past the end",
       Patched(good, kNameLengthAt, U32(0xFFFFFFFF)),
       FontSkip::kPastEnd,
       {}},
      {"no name table", Patched(good, 12 + 16, "nam_"), FontSkip::kNoNameTable, {}},
      {"a name table of 5 bytes", Patched(good, kNameLengthAt, U32(5)), FontSkip::kRecordCount, {}},
      {"more records than the table holds",
       Patched(good, kNameAt + 2, U16(400)),
       FontSkip::kRecordCount,
       {}},
      {"a record's text past the table",
       Patched(good, kNameAt + 6 + 12 + 10, U16(0xFFF0)),
       FontSkip::kRecordPastEnd,
       {}},
      {"texts starting past the table",
       Patched(good, kNameAt + 4, U16(0xFFFF)),
       FontSkip::kRecordPastEnd,
       {}},
      {"an odd UTF-16 length",
       Face(NameTable({{3, 1, 0x0411, 4, "\x30"}})),
       FontSkip::kOddUtf16Length,
       {}},
      {"a lone high surrogate",
       Face(NameTable({Win(4, u"a\xD800")})),
       FontSkip::kLoneSurrogate,
       {}},
      {"a lone low surrogate",
       Face(NameTable({Win(6, u"\xDC00x", 0x0409)})),
       FontSkip::kLoneSurrogate,
       {}},
      {"a collection cut inside its face list", twoFaces.substr(0, 18), FontSkip::kShort, {}},
      {"a collection of more faces than it holds",
       Patched(twoFaces, 8, U32(1000)),
       FontSkip::kShort,
       {}},
      {"a collection of no faces", Patched(twoFaces, 8, U32(0)), FontSkip::kFaceCount, {}},
      {"a collection of 2^32-1 faces",
       Patched(twoFaces, 8, U32(0xFFFFFFFF)),
       FontSkip::kFaceCount,
       {}},
      {"a face past the end", Patched(twoFaces, 16, U32(0x7FFFFFFF)), FontSkip::kShort, {}},
      {"a face without a signature", Patched(twoFaces, 16, U32(0)), FontSkip::kNotAFont, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BytesFile bytes(c.bytes);
    CountingFile file(bytes);
    const FontFileNames names = ReadFontNames(file);
    EXPECT_EQ(names.skip, c.skip);
    EXPECT_FALSE(file.askedPastEnd);
    ASSERT_EQ(names.faces.size(), c.faces.size());
    for (std::size_t i = 0; i < c.faces.size(); ++i) {
      EXPECT_EQ(names.faces[i].face, c.faces.size() > 1 ? i : 0);
      EXPECT_EQ(names.faces[i].postScript, c.faces[i].postScript);
      EXPECT_EQ(names.faces[i].japanese, c.faces[i].japanese);
    }
  }
}

// Every font file here reads or is skipped with a reason, within its bytes and reading a
// small part of them; the fonts the project installs read with their Japanese names.
TEST(ReadFontNames, EveryFontFileOnThisMachine) {
  PosixFileRanges files;
  std::size_t fonts = 0;
  std::vector<std::string> withJapaneseNames;  // their PostScript names
  for (const char* root : {"/usr/share/fonts", "/usr/local/share/fonts", "/usr/share/wine"}) {
    for (const std::wstring& path : files.FilesUnder(WideFromUtf8(root))) {
      const std::string shown = NativePath(path);
      std::string extension = std::filesystem::path(shown).extension().string();
      for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (extension != ".ttf" && extension != ".otf" && extension != ".ttc" && extension != ".otc")
        continue;
      SCOPED_TRACE(shown);
      ++fonts;
      const auto opened = files.Open(path);
      CountingFile file(*opened);
      const FontFileNames names = ReadFontNames(file);
      EXPECT_FALSE(file.askedPastEnd);
      EXPECT_EQ(names.faces.empty(), names.skip != FontSkip::kNone);
      EXPECT_LT(file.bytesRead, 65536 + file.Size() / 20);
      for (const FaceNames& face : names.faces)
        if (!face.japanese.empty()) withJapaneseNames.push_back(face.postScript);
    }
  }
  EXPECT_GE(fonts, 8u) << "scripts/install-deps.sh installs Japanese fonts";
  for (const char* font : {"IPAGothic", "IPAPMincho", "VL-PGothic-Regular", "NotoSansCJKjp-Bold",
                           "NotoSerifCJKjp-Regular"})
    EXPECT_NE(std::find(withJapaneseNames.begin(), withJapaneseNames.end(), font),
              withJapaneseNames.end())
        << font;
}

}  // namespace
}  // namespace vemo
