// A "Fonts.txt" saved as UTF-8, as today's editors save text, through the real program; and
// the program's own CP932 conversion against the one Windows does.
#include <gtest/gtest.h>

#include "fontfix/table_encoding.h"
#include "platform/runtime_error.h"
#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// The source is UTF-8: these literals are the bytes a UTF-8 editor writes.
constexpr std::string_view kUtf8Table = "ＭＳ明朝,MS-Mincho\r\nＭＳゴシック,MS-Gothic\r\n";

TEST(Utf8Table, WithOrWithoutAMarkTheWindowShowsTheNamesAndExecuteRenamesTheEntries) {
  for (const std::string_view mark : {kBom, std::string_view()}) {
    SCOPED_TRACE(mark.empty() ? "without a byte order mark" : "with a byte order mark");
    Workspace workspace;
    WriteBytes(workspace.fonts_txt(), std::string(mark) + std::string(kUtf8Table));
    const std::string list = ListOf({cp932::kMsMincho, cp932::kHeisei, cp932::kMsGothic});
    WriteBytes(workspace.list(), list);

    Running app = StartToMainWindow(workspace);
    ASSERT_TRUE(app.window);
    EXPECT_WEQ(L"ＭＳ明朝  ＭＳゴシック  ", TextOf(app.control(IDC_TXTFONTS)));

    SetText(app.control(IDC_TXTFOLDER), workspace.target_folder().wstring());
    Click(app.control(IDC_CMDEXECUTE));
    auto box = WaitForMessageBox(app.process.id(), Deadline{30000});
    ASSERT_TRUE(box) << "no message after 実行";
    EXPECT_WEQ(kCompletion, box->text);
    EXPECT_TRUE(Answer(*box));
    EXPECT_EQ(Renamed(Renamed(list, cp932::kMsMincho, "MS-Mincho"), cp932::kMsGothic, "MS-Gothic"),
              ReadBytes(workspace.list()));
    EXPECT_EQ(list, ReadBytes(workspace.backup()));
  }
}

TEST(Utf8Table, ANameCp932CannotHoldGivesErrorN1001ThenAnEmptyWindow) {
  Workspace workspace;
  // U+301C WAVE DASH: CP932's 0x8160 is U+FF5E, so the wave dash has no code of its own.
  WriteBytes(workspace.fonts_txt(), std::string(kBom) + "ＭＳ明朝,MS-Mincho\r\n波〜,X\r\n");
  const std::string list = ListOf({cp932::kMsMincho});
  WriteBytes(workspace.list(), list);

  Process process = workspace.Start();
  auto box = WaitForMessageBox(process.id(), StartDeadline());
  ASSERT_TRUE(box) << "no error dialog";
  EXPECT_WEQ(
      L"Fonts.txtに、Illustratorのフォント一覧ファイル（シフトJIS）で表せない文字があります。"
      L" (エラー番号:N1001)",
      box->text);
  EXPECT_WEQ(kTitle, box->caption);
  EXPECT_EQ(48, box->icon);
  ASSERT_TRUE(Answer(*box));

  HWND window = WaitForWindow(process.id(), L"", kMainCaption);
  ASSERT_TRUE(window);
  EXPECT_WEQ(L"", TextOf(Control(window, IDC_TXTFONTS)));
  EXPECT_EQ(list, ReadBytes(workspace.list()));
  EXPECT_FALSE(FileExists(workspace.backup()));
}

// The conversion is the program's own, so it must agree with Windows' round-trip conversion
// (WC_NO_BEST_FIT_CHARS) on every character of the basic plane.
TEST(Cp932Conversion, AgreesWithWideCharToMultiByteOnEveryCharacter) {
  int differences = 0;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const wchar_t wide = static_cast<wchar_t>(c);
    char utf8[4];
    const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, 4, nullptr, nullptr);
    ASSERT_GT(utf8Length, 0) << c;
    char bytes[2];
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, 2, nullptr, &usedDefault);
    const std::string windows = length > 0 && !usedDefault ? std::string(bytes, length) : "";

    std::string ours;
    try {
      ours = Cp932FromUtf8(std::string_view(utf8, utf8Length));
    } catch (const RuntimeError& e) {
      EXPECT_EQ(err::kNameNotInCp932, e.Number());
    }
    if (ours != windows && ++differences <= 20) {
      ADD_FAILURE() << "U+" << std::hex << c << ": ours " << ::testing::PrintToString(ours)
                    << ", Windows " << ::testing::PrintToString(windows);
    }
  }
  EXPECT_EQ(0, differences);
}

}  // namespace
}  // namespace vemo::e2e
