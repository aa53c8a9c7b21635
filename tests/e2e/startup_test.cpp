// Start-up and the main window, driven through the real program as a user meets it.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

// Wide strings print as UTF-8 in failure messages.
TEST(Startup, ShowsEveryNameOfTheTableFollowedByTwoBlanks) {
  Workspace workspace(L"べもつーる");
  WriteBytes(workspace.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho") +
                                        Row(cp932::kMsGothic, "MS-Gothic") +
                                        "\"Times, Roman\",Times-Roman\r\n");
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  EXPECT_WEQ(L"ＭＳ明朝  ＭＳゴシック  Times, Roman  ", TextOf(app.control(IDC_TXTFONTS)));
}

// Fonts.txt missing or too long: the message comes first, then an empty window.
TEST(Startup, ATableThatCannotBeLoadedGivesItsMessageFirstThenAnEmptyWindow) {
  std::string overlong;
  for (int i = 1; i <= 1025; ++i)
    overlong += Row("Font" + std::to_string(i), "New" + std::to_string(i));
  const struct {
    const char* what;
    std::optional<std::string> fonts;  // none: no Fonts.txt
    std::wstring text;
    int icon;
  } cases[] = {
      {"no Fonts.txt: the stop message", std::nullopt, L"Fonts.txtがありません", 16},
      {"more than 1024 rows: error 9", overlong,
       L"インデックスが有効な範囲を超えています。 (エラー番号:9)", 48},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Workspace workspace;
    if (c.fonts) WriteBytes(workspace.fonts_txt(), *c.fonts);
    Process process = workspace.Start();
    auto box = WaitForMessageBox(process.id(), StartDeadline());
    ASSERT_TRUE(box) << "no message box";
    EXPECT_WEQ(c.text, box->text);
    EXPECT_WEQ(kTitle, box->caption);
    EXPECT_EQ(c.icon, box->icon);
    EXPECT_EQ(std::vector<std::wstring>{L"OK"}, box->buttons);
    EXPECT_EQ(nullptr, WaitForWindow(process.id(), L"", kMainCaption, Deadline{0}));

    ASSERT_TRUE(Answer(*box));
    HWND window = WaitForWindow(process.id(), L"", kMainCaption);
    ASSERT_TRUE(window);
    EXPECT_WEQ(L"", TextOf(Control(window, IDC_TXTFONTS)));
  }
}

TEST(Startup, ASecondStartEndsWithoutAWindowAndTheFirstGoesOn) {
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho"));
  Running first = StartToMainWindow(workspace);
  ASSERT_TRUE(first.window);

  Process second = workspace.Start();
  ASSERT_TRUE(second.WaitExit()) << "the second start did not end";
  EXPECT_TRUE(TopLevelWindows(second.id()).empty());

  EXPECT_TRUE(first.process.Running());
  EXPECT_TRUE(IsWindowVisible(first.window));
  EXPECT_TRUE(RoundTrip(first.window));
  EXPECT_WEQ(L"ＭＳ明朝  ", TextOf(first.control(IDC_TXTFONTS)));
}

// Exit: the menu item by its id, by its keys (Alt+F, X), and the close box all end the program.
TEST(Startup, ExitEndsTheProgram) {
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), "");
  const struct {
    const char* way;
    bool (*exit)(HWND);  // false: the way could not be taken
  } ways[] = {
      {"File, Exit",
       [](HWND window) {
         Command(window, IDM_EXIT);
         return true;
       }},
      {"Alt+F, X", [](HWND window) { return MenuKeys(window, L'f', L'x'); }},
      {"close box", [](HWND window) { return !!PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    Running app = StartToMainWindow(workspace);
    ASSERT_TRUE(app.window);
    ASSERT_TRUE(way.exit(app.window));
    EXPECT_TRUE(app.process.WaitExit());
  }
}

TEST(MainWindow, CaptionsStartStateAndTabOrderAreThoseOfTheProgram) {
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), "");
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  EXPECT_WEQ(kMainCaption, TextOf(app.window));

  const std::pair<int, std::wstring> captions[] = {
      {IDC_TXTFOLDER, L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt"},
      {IDC_LABEL1, L"処理対象フォルダ（adobefnt.lstのあるフォルダ）："},
      {IDC_OPT89, L"Illustrator 8 or 9 (AdobeFnt.lst)"},
      {IDC_OPT10, L"Illustrator 10 (AdobeFnt05.lst)"},
      {IDC_CMDEXECUTE, L"実行"},
      {IDC_FRAME1, L"処理対象バージョンとファイル"},
      {IDC_TXTFONTS, L""},
      {IDC_LABEL2, L"修正対象のフォント："},
      {IDC_LABEL3, L" 注意：作業を行う前に、Illustrator及びPhotoshopを終了させてください。"},
      {IDC_LABEL4, L" 実行ボタンをクリックした後、処理に数分かかることがあります。"},
  };
  for (const auto& [id, caption] : captions) {
    HWND control = app.control(id);
    ASSERT_TRUE(control) << "no control " << id;
    EXPECT_WEQ(caption, TextOf(control)) << "control " << id;
    EXPECT_TRUE(IsWindowVisible(control)) << "control " << id;
  }
  EXPECT_TRUE(IsChecked(app.control(IDC_OPT10)));
  EXPECT_FALSE(IsChecked(app.control(IDC_OPT89)));
  EXPECT_EQ(app.control(IDC_TXTFOLDER), FocusOf(app.window));
  EXPECT_TRUE(StyleOf(app.control(IDC_TXTFONTS)) & ES_MULTILINE);

  // Fixed single border with a minimize box and no maximize box.
  const LONG_PTR style = StyleOf(app.window);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetMenu(app.window)) << "no menu bar";

  // Tab from the folder: into the group, it lands on the selected option, then on Execute.
  EXPECT_EQ(app.control(IDC_OPT10), PressTab(app.window));
  EXPECT_EQ(app.control(IDC_CMDEXECUTE), PressTab(app.window));
}

}  // namespace
}  // namespace vemo::e2e
