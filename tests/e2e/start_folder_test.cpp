// The folder both programs start with: Illustrator's usual TypeSpt folder, or the one under the
// 32-bit Common Files folder where a 32-bit Illustrator keeps it on 64-bit Windows.
#include <gtest/gtest.h>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

const std::wstring kUsual = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";
const std::wstring kX86 = L"C:\\Program Files (x86)\\Common Files\\Adobe\\TypeSpt";

// Makes `folder` exist or not for the test's life, and puts back what was there.
class FolderArranged {
 public:
  FolderArranged(const std::wstring& folder, bool exists) : folder_(folder) {
    const bool existed = std::filesystem::is_directory(folder_);
    if (existed && !exists) {
      std::filesystem::rename(folder_, aside());
      movedAside_ = true;
    } else if (!existed && exists) {
      created_ = std::filesystem::create_directories(folder_);
    }
  }
  ~FolderArranged() {
    std::error_code ignored;
    if (created_) std::filesystem::remove(folder_, ignored);
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

TEST(StartFolder, TheUsualFolderUnlessOnlyThe32BitCommonFilesHoldsTypeSpt) {
  const struct {
    bool usual, x86;
    std::wstring expected;
  } cases[] = {
      {false, true, kX86},
      {true, true, kUsual},
      {false, false, kUsual},
  };
  Workspace workspace;
  WriteBytes(workspace.fonts_txt(), Row("A", "B"));
  const std::filesystem::path fix = workspace.program_folder() / L"vemofix.exe";
  std::filesystem::copy_file(FixExe(), fix);
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.expected));
    FolderArranged usual(kUsual, c.usual);
    FolderArranged x86(kX86, c.x86);
    {
      Running app = StartToMainWindow(workspace);
      ASSERT_TRUE(app.window);
      EXPECT_EQ(Utf8(TextOf(app.control(IDC_TXTFOLDER))), Utf8(c.expected));
    }
    // No list there: vemofix names the list it looked for.
    const Finished run = RunToEnd(fix, {}, workspace.program_folder());
    EXPECT_EQ(run.status, 1u);
    EXPECT_NE(run.err.find(c.expected + L"\\AdobeFnt05.lst"), std::wstring::npos) << Utf8(run.err);
  }
}

}  // namespace
}  // namespace vemo::e2e
