// The folder and version both programs start with: the first folder holding Illustrator 10's
// list, then 8 or 9's, then the first that exists, trying the TypeSpt folder under the 32-bit
// Common Files folder (on 64-bit Windows) before Illustrator's usual one.
#include <gtest/gtest.h>

#include <optional>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

const std::wstring kUsual = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";
const std::wstring kX86 = L"C:\\Program Files (x86)\\Common Files\\Adobe\\TypeSpt";

// Makes `folder` exist, empty, or not exist for the test's life, and puts back what was there
// (make run's demo keeps its lists in Illustrator's usual folder).
class FolderArranged {
 public:
  FolderArranged(const std::wstring& folder, bool exists) : folder_(folder) {
    if (std::filesystem::is_directory(folder_)) {
      std::filesystem::rename(folder_, aside());
      movedAside_ = true;
    }
    if (exists) created_ = std::filesystem::create_directories(folder_);
  }
  ~FolderArranged() {
    std::error_code ignored;
    if (created_) std::filesystem::remove_all(folder_, ignored);
    if (movedAside_) std::filesystem::rename(aside(), folder_, ignored);
  }
  FolderArranged(const FolderArranged&) = delete;
  FolderArranged& operator=(const FolderArranged&) = delete;

 private:
  std::filesystem::path aside() const { return folder_.wstring() + L".vemo-aside"; }
  std::filesystem::path folder_;
  bool created_ = false;
  bool movedAside_ = false;
};

// A list file placed for the test's life; nothing when `folder` is empty.
class ListPlaced {
 public:
  ListPlaced(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return;
    path_ = std::filesystem::path(folder) / name;
    WriteBytes(*path_, ListOf({"A"}));
  }
  ~ListPlaced() {
    std::error_code ignored;
    if (path_) std::filesystem::remove(*path_, ignored);
  }
  ListPlaced(const ListPlaced&) = delete;
  ListPlaced& operator=(const ListPlaced&) = delete;

 private:
  std::optional<std::filesystem::path> path_;
};

TEST(StartFolder, TheFirstFolderHoldingAListElseTheFirstThatExists) {
  const struct {
    bool usual, x86;
    std::wstring list10In, list9In;  // the folder holding each list; empty: none
    std::wstring expected;
    bool illustrator10;
  } cases[] = {
      {false, true, L"", L"", kX86, true},    {true, true, L"", L"", kX86, true},
      {false, false, L"", L"", kUsual, true}, {true, true, kUsual, L"", kUsual, true},
      {true, true, L"", kX86, kX86, false},   {true, true, kUsual, kX86, kUsual, true},
  };
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), Row("A", "B"));
  const std::filesystem::path fix = workspace.program_folder() / L"vemofix.exe";
  std::filesystem::copy_file(FixExe(), fix);
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.expected + L" " + c.list10In + L" " + c.list9In));
    FolderArranged usual(kUsual, c.usual);
    FolderArranged x86(kX86, c.x86);
    ListPlaced list10(c.list10In, L"AdobeFnt05.lst");
    ListPlaced list9(c.list9In, L"AdobeFnt.lst");
    {
      Running app = StartToMainWindow(workspace);
      ASSERT_TRUE(app.window);
      EXPECT_EQ(Utf8(TextOf(app.control(IDC_TXTFOLDER))), Utf8(c.expected));
      EXPECT_EQ(IsChecked(app.control(IDC_OPT10)), c.illustrator10);
      EXPECT_EQ(IsChecked(app.control(IDC_OPT89)), !c.illustrator10);
    }
    // vemofix takes the folder and stays with Illustrator 10: it names the list it read or
    // looked for.
    const Finished run = RunToEnd(fix, {L"--dry-run"}, workspace.program_folder());
    EXPECT_EQ(run.status, c.list10In.empty() ? 1u : 0u) << Utf8(run.err);
    EXPECT_NE((run.out + run.err).find(c.expected + L"\\AdobeFnt05.lst"), std::wstring::npos)
        << Utf8(run.out + run.err);
  }
}

}  // namespace
}  // namespace vemo::e2e
