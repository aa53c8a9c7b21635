// The whole job once through each program users get (or the ones VEMOTOOL_EXE and VEMOFIX_EXE
// name): the same list and backup as this build's own vemofix.exe, built from the same sources
// with the tests' toolchain.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kTable = Row(cp932::kMsMincho, "MS-Mincho") + Row("ryumin", "Ryumin-Light") +
                           Row(cp932::kMsGothic, "MS-Gothic");
const std::string kList = ListOf({cp932::kMsMincho, "RYUMIN", cp932::kHeisei, cp932::kMsGothic});

struct Result {
  std::string list;
  std::string backup;
};

// This build's vemofix.exe on its own copy: what every program must leave.
Result Expected() {
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), kTable);
  WriteBytes(workspace.list(), kList);
  const fs::path exe = workspace.program_folder() / L"vemofix.exe";
  fs::copy_file(BuiltFixExe(), exe);
  const Finished run = RunToEnd(exe, {L"--folder", workspace.target_folder().wstring(), L"--quiet"},
                                workspace.program_folder());
  EXPECT_EQ(run.status, 0u) << Utf8(run.err);
  return {ReadBytes(workspace.list()), ReadBytes(workspace.backup())};
}

TEST(Shipped, VemofixAndTheWindowEachDoTheWholeJob) {
  const Result expected = Expected();
  ASSERT_NE(expected.list, kList) << "the reference run changed nothing";
  ASSERT_EQ(expected.backup, kList);

  Workspace command(L"べもつーる", L"Type Spt");
  WriteBytes(command.fonts_txt(), kTable);
  WriteBytes(command.list(), kList);
  const fs::path fix = command.program_folder() / L"vemofix.exe";
  fs::copy_file(FixExe(), fix);
  const Finished run =
      RunToEnd(fix, {L"--folder", command.target_folder().wstring()}, command.program_folder());
  EXPECT_EQ(run.status, 0u) << Utf8(run.out) << Utf8(run.err);
  EXPECT_EQ(ReadBytes(command.list()), expected.list);
  EXPECT_EQ(ReadBytes(command.backup()), expected.backup);

  Workspace window(L"べもつーる", L"Type Spt");
  WriteBytes(window.fonts_txt(), kTable);
  WriteBytes(window.list(), kList);
  Running app = StartToMainWindow(window);
  ASSERT_TRUE(app.window);
  EXPECT_EQ(Utf8(TextOf(app.control(IDC_TXTFONTS))), Utf8(L"ＭＳ明朝  ryumin  ＭＳゴシック  "));
  SetText(app.control(IDC_TXTFOLDER), window.target_folder().wstring());
  Click(app.control(IDC_CMDEXECUTE));
  const std::optional<MessageBoxInfo> box = WaitForMessageBox(app.process.id(), Deadline{60000});
  ASSERT_TRUE(box) << "no message after 実行";
  EXPECT_EQ(Utf8(box->text), Utf8(kCompletion));
  EXPECT_TRUE(Answer(*box));
  EXPECT_EQ(ReadBytes(window.list()), expected.list);
  EXPECT_EQ(ReadBytes(window.backup()), expected.backup);

  PostMessageW(app.window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app.process.WaitExit(Deadline{60000})) << "the window did not close";
}

}  // namespace
}  // namespace vemo::e2e
