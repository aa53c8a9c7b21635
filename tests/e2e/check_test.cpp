// File, フォント一覧を確認: the dialog lists what the table fixes and what Illustrator cannot
// use, proposes the machine's fonts, appends the rows the user checks to "Fonts.txt", and
// after 実行 says that every name can be used.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kCheckCaption = L"フォント一覧の確認";
const std::wstring kAllUsable = L"すべての登録名をIllustratorで使えます。";
// The columns, as the first line of a copy of the list, and their order.
const std::wstring kCheckColumns = L"行\t登録名\t修正後の名前\t状態\tフォントファイル\r\n";
enum Column { kLine, kRegistered, kFixed, kState, kFile };

std::string Cp932(const std::wstring& text) {
  const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

// The Japanese fonts Debian ships (scripts/install-deps.sh), where Windows keeps fonts: the
// dialog reads that folder. "Noto Sans CJK JP" names a face of both collections.
void InstallFonts() {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const fs::path fonts = fs::path(windows) / L"Fonts";
  fs::create_directories(fonts);
  for (const char* font : {"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
                           "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
                           "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"}) {
    const fs::path from = HostPath(font);
    ASSERT_TRUE(FileExists(from)) << font << " is missing (scripts/install-deps.sh installs it)";
    if (!FileExists(fonts / from.filename())) fs::copy_file(from, fonts / from.filename());
  }
}

class CheckDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallFonts();
    WriteBytes(workspace_.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho"));
  }

  // Starts the program on `names`, registered one a line after a header line.
  void StartOn(const std::vector<std::wstring>& names) {
    std::string list = "%!Adobe-FontList 1.13\r\n";
    for (const std::wstring& name : names) list += "FontName:" + Cp932(name) + "\r\n";
    WriteBytes(workspace_.list(), list);
    app_ = StartToMainWindow(workspace_);
    ASSERT_TRUE(app_.window);
    SetText(app_.control(IDC_TXTFOLDER), workspace_.target_folder().wstring());
  }

  // Opens the dialog through the menu's keys, File then (C).
  HWND Open() {
    EXPECT_TRUE(MenuKeys(app_.window, L'f', L'c'));
    HWND dialog = WaitForWindow(app_.process.id(), L"#32770", kCheckCaption, Deadline{60000});
    EXPECT_TRUE(dialog) << "no dialog";
    return dialog;
  }

  // The list's rows as the dialog copies them to the clipboard (WM_COPY, as Ctrl+C in the
  // list does).
  static std::vector<std::vector<std::wstring>> Rows(HWND dialog) {
    const auto rows = CopiedRows(dialog, kCheckColumns);
    EXPECT_EQ(Utf8(kCheckColumns), Utf8(ClipboardText().substr(0, kCheckColumns.size())));
    return rows;
  }

  void Close(HWND dialog) {
    PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "Esc did not close it";
  }

  Workspace workspace_;
  Running app_;
};

TEST_F(CheckDialog, ListsWhatTheTableFixesAndWhatIllustratorCannotUseWithTheMachinesFonts) {
  StartOn({L"ＭＳ明朝", L"Arial", L"IPAゴシック", L"Noto Sans CJK JP", L"ＸＸ明朝"});
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  EXPECT_WEQ(L"対象ファイル：" + workspace_.list().wstring(),
             TextOf(Control(dialog, IDC_CHECK_FILE)));
  const auto rows = Rows(dialog);
  ASSERT_EQ(rows.size(), 4u);
  const struct {
    std::wstring line, registered, fixed, state, file;
    bool checked;
  } expected[] = {
      {L"2", L"ＭＳ明朝", L"MS-Mincho", L"対応表で修正", L"", false},
      {L"4", L"IPAゴシック", L"IPAGothic", L"候補", L"ipag.ttf", true},
      {L"5", L"Noto Sans CJK JP", L"", L"候補が複数", L"2個の候補から右クリックで選びます", false},
      {L"6", L"ＸＸ明朝", L"", L"フォントが見つかりません", L"", false},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_WEQ(expected[i].line, rows[i][kLine]);
    EXPECT_WEQ(expected[i].registered, rows[i][kRegistered]);
    EXPECT_WEQ(expected[i].fixed, rows[i][kFixed]);
    EXPECT_WEQ(expected[i].state, rows[i][kState]);
    EXPECT_TRUE(rows[i][kFile].ends_with(expected[i].file)) << Utf8(rows[i][kFile]);
    EXPECT_EQ(expected[i].checked,
              ListViewChecked(Control(dialog, IDC_CHECK_LIST), static_cast<int>(i)));
  }
  EXPECT_TRUE(
      TextOf(Control(dialog, IDC_CHECK_SUMMARY))
          .starts_with(L"対応表で修正 1件　候補 1件　候補が複数 1件　フォントが見つかりません 1件"))
      << Utf8(TextOf(Control(dialog, IDC_CHECK_SUMMARY)));

  // Space toggles a candidate's check, and no other row takes one.
  HWND list = Control(dialog, IDC_CHECK_LIST);
  for (int row : {1, 1, 0, 3}) {
    const bool before = ListViewChecked(list, row);
    ASSERT_TRUE(FocusListViewRow(list, row));
    PressKey(list, VK_SPACE);
    // The keys come in order: once the focus has moved on, Space has been taken.
    ASSERT_TRUE(FocusListViewRow(list, row == 0 ? 1 : 0));
    EXPECT_EQ(ListViewChecked(list, row), row == 1 ? !before : false) << row;
  }
  Close(dialog);
}

TEST_F(CheckDialog, TheChosenRowsGoToTheTableAndAfterExecuteEveryNameCanBeUsed) {
  StartOn({L"ＭＳ明朝", L"IPAゴシック", L"Noto Sans CJK JP"});
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  HWND list = Control(dialog, IDC_CHECK_LIST);
  // One of several: the candidates' menu on the row (the menu key), the second one.
  ASSERT_TRUE(FocusListViewRow(list, 2));
  PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
  ASSERT_TRUE(PickFromPopupMenu(dialog, L'2')) << "no candidates' menu";
  ASSERT_TRUE(WaitUntil([&] { return ListViewChecked(list, 2); })) << "the pick did not check it";
  EXPECT_WEQ(L"NotoSansCJKjp-Regular", Rows(dialog)[2][kFixed]);

  const std::string table = ReadBytes(workspace_.fonts_txt());
  Click(Control(dialog, IDC_CHECK_ADD));
  const std::string added =
      table + Cp932(L"IPAゴシック,IPAGothic\r\n") + "Noto Sans CJK JP,NotoSansCJKjp-Regular\r\n";
  EXPECT_TRUE(WaitUntil([&] { return ReadBytes(workspace_.fonts_txt()) == added; }))
      << ReadBytes(workspace_.fonts_txt());
  EXPECT_TRUE(WaitUntil([&] { return Rows(dialog)[1][kState] == L"対応表で修正"; }));
  EXPECT_WEQ(L"ＭＳ明朝  IPAゴシック  Noto Sans CJK JP  ", TextOf(app_.control(IDC_TXTFONTS)));
  Close(dialog);

  Click(app_.control(IDC_CMDEXECUTE));
  const std::optional<MessageBoxInfo> done = WaitForMessageBox(app_.process.id(), Deadline{30000});
  ASSERT_TRUE(done) << "no message after 実行";
  EXPECT_TRUE(Answer(*done));
  dialog = Open();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(Rows(dialog).empty());
  EXPECT_WEQ(kAllUsable, TextOf(Control(dialog, IDC_CHECK_SUMMARY)));
  Close(dialog);
}

// A list that is not there gets 実行's message and no dialog; a table the user cannot write
// is left as it was, and the dialog says why.
TEST_F(CheckDialog, AMissingListAndAReadOnlyTableAreSaidAndChangeNothing) {
  StartOn({L"IPAゴシック"});
  DeleteFileW(workspace_.list().c_str());
  Command(app_.window, IDM_CHECK);
  std::optional<MessageBoxInfo> box = WaitForMessageBox(app_.process.id());
  ASSERT_TRUE(box) << "no message for the missing list";
  EXPECT_WEQ(kMissingList + workspace_.list().wstring(), box->text);
  EXPECT_EQ(48, box->icon);
  ASSERT_TRUE(Answer(*box));
  EXPECT_EQ(nullptr, WaitForWindow(app_.process.id(), L"#32770", kCheckCaption, Deadline{0}));

  WriteBytes(workspace_.list(), "FontName:" + Cp932(L"IPAゴシック") + "\r\n");
  const std::string table = ReadBytes(workspace_.fonts_txt());
  SetFileAttributesW(workspace_.fonts_txt().c_str(), FILE_ATTRIBUTE_READONLY);
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  Click(Control(dialog, IDC_CHECK_ADD));
  box = WaitForMessageBox(app_.process.id(), kWait, {dialog});
  ASSERT_TRUE(box) << "no message for the read-only table";
  EXPECT_TRUE(box->text.starts_with(L"次のファイルに書き込めないため、対応表は変更していません。"))
      << Utf8(box->text);
  EXPECT_EQ(48, box->icon);
  ASSERT_TRUE(Answer(*box));
  EXPECT_EQ(table, ReadBytes(workspace_.fonts_txt()));
  SetFileAttributesW(workspace_.fonts_txt().c_str(), FILE_ATTRIBUTE_NORMAL);
  Close(dialog);
}

}  // namespace
}  // namespace vemo::e2e
