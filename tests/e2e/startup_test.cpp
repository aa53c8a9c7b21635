// Start-up and the main window, driven through the real program as a user meets it.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

// Wide strings print as UTF-8 in failure messages.
#define EXPECT_WEQ(expected, actual) EXPECT_EQ(Utf8(expected), Utf8(actual))

TEST(Startup, ShowsEveryNameOfTheTableFollowedByTwoBlanks) {
  Workspace workspace(L"べもつーる");
  WriteBytes(workspace.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho") +
                                        Row(cp932::kMsGothic, "MS-Gothic") +
                                        "\"Times, Roman\",Times-Roman\r\n");
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  EXPECT_WEQ(L"ＭＳ明朝  ＭＳゴシック  Times, Roman  ", TextOf(app.control(IDC_TXTFONTS)));
}

TEST(Startup, WithoutFontsTxtTheStopMessageComesFirstThenAnEmptyWindow) {
  Workspace workspace;
  Process process = workspace.Start();
  auto box = WaitForMessageBox(process.id());
  ASSERT_TRUE(box) << "no message box";
  EXPECT_WEQ(L"Fonts.txtがありません", box->text);
  EXPECT_WEQ(kTitle, box->caption);
  EXPECT_EQ(16, box->icon);
  EXPECT_EQ(std::vector<std::wstring>{L"OK"}, box->buttons);
  // The window shows only after the message has been answered.
  EXPECT_EQ(nullptr, WaitForWindow(process.id(), L"", kMainCaption, Deadline{0}));

  ASSERT_TRUE(Answer(*box));
  HWND window = WaitForWindow(process.id(), L"", kMainCaption);
  ASSERT_TRUE(window);
  EXPECT_WEQ(L"", TextOf(Control(window, IDC_TXTFONTS)));
}

TEST(Startup, ATableOfMoreThan1024RowsGivesErrorNineThenTheWindow) {
  Workspace workspace;
  std::string table;
  for (int i = 1; i <= 1025; ++i)
    table += Row("Font" + std::to_string(i), "New" + std::to_string(i));
  WriteBytes(workspace.fonts_txt(), table);
  Process process = workspace.Start();
  auto box = WaitForMessageBox(process.id());
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->text.ends_with(L" (エラー番号:9)")) << Utf8(box->text);
  EXPECT_GT(box->text.size(), std::wstring(L" (エラー番号:9)").size()) << "no description";
  EXPECT_WEQ(kTitle, box->caption);
  EXPECT_EQ(48, box->icon);

  ASSERT_TRUE(Answer(*box));
  HWND window = WaitForWindow(process.id(), L"", kMainCaption);
  ASSERT_TRUE(window);
  EXPECT_WEQ(L"", TextOf(Control(window, IDC_TXTFONTS)));
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
  {
    Running app = StartToMainWindow(workspace);
    ASSERT_TRUE(app.window);
    Command(app.window, IDM_EXIT);
    EXPECT_TRUE(app.process.WaitExit()) << "File, Exit";
  }
  {
    Running app = StartToMainWindow(workspace);
    ASSERT_TRUE(app.window);
    ASSERT_TRUE(MenuKeys(app.window, L'f', L'x')) << "the File menu did not open";
    EXPECT_TRUE(app.process.WaitExit()) << "Alt+F, X";
  }
  {
    Running app = StartToMainWindow(workspace);
    ASSERT_TRUE(app.window);
    PostMessageW(app.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app.process.WaitExit()) << "close box";
  }
}

TEST(MainWindow, CaptionsAndStartStateAreThoseOfTheProgram) {
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
}

TEST(MainWindow, TabGoesFromTheFolderToTheOptionsToExecute) {
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), "");
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  ASSERT_EQ(app.control(IDC_TXTFOLDER), FocusOf(app.window));
  // Into the group, Tab lands on the selected option.
  EXPECT_EQ(app.control(IDC_OPT10), PressTab(app.window));
  EXPECT_EQ(app.control(IDC_CMDEXECUTE), PressTab(app.window));
}

}  // namespace
}  // namespace vemo::e2e
