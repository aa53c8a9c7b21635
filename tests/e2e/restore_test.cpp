// File, バックアップから戻す: the backup back over the list once the user says はい, the backup
// kept; いいえ leaves the list; without a backup a box names where it would be.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

TEST(Restore, YesPutsTheBackupBackNoLeavesTheListAndAMissingBackupIsNamed) {
  const std::string list = Renamed(ListOf({cp932::kMsMincho}), cp932::kMsMincho, "MS-Mincho");
  const std::string backup = ListOf({cp932::kMsMincho});
  const struct {
    const char* what;
    bool backup;
    int answer;  // the question's button; 0: no question
    std::string listAfter;
  } cases[] = {
      {"no backup", false, 0, list},
      {"いいえ", true, IDNO, list},
      {"はい", true, IDYES, backup},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Workspace workspace;
    WriteBytes(workspace.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho"));
    WriteBytes(workspace.list(), list);
    if (c.backup) WriteBytes(workspace.backup(), backup);
    Running app = StartToMainWindow(workspace);
    ASSERT_TRUE(app.window);
    SetText(app.control(IDC_TXTFOLDER), workspace.target_folder().wstring());
    ASSERT_TRUE(MenuKeys(app.window, L'f', L'r'));

    std::optional<MessageBoxInfo> box = WaitForMessageBox(app.process.id());
    ASSERT_TRUE(box) << "no box";
    if (c.answer == 0) {
      EXPECT_WEQ(L"バックアップがありません。\r\n" + workspace.backup().wstring(), box->text);
      EXPECT_EQ(48, box->icon);
      ASSERT_TRUE(Answer(*box));
    } else {
      EXPECT_WEQ(
          L"次のバックアップで、フォント一覧ファイルを元に戻しますか？\r\n\r\nバックアップ：" +
              workspace.backup().wstring() + L"\r\n戻す先：" + workspace.list().wstring(),
          box->text);
      EXPECT_EQ(32, box->icon);
      EXPECT_EQ(2u, box->buttons.size());
      ASSERT_TRUE(Answer(*box, c.answer));
      if (c.answer == IDYES) {
        box = WaitForMessageBox(app.process.id(), kWait, {box->window});
        ASSERT_TRUE(box) << "no word after the restore";
        EXPECT_WEQ(L"元に戻しました。Illustratorを起動して確認してください。", box->text);
        EXPECT_EQ(64, box->icon);
        ASSERT_TRUE(Answer(*box));
      }
    }
    EXPECT_TRUE(Settle(app.process.id(), app.window, {box->window}).settled);
    EXPECT_EQ(ReadBytes(workspace.list()), c.listAfter);
    EXPECT_EQ(ReadBytes(workspace.backup()), c.backup ? backup : "<absent>");
  }
}

}  // namespace
}  // namespace vemo::e2e
