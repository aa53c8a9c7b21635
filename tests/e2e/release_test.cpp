// The release as a user unpacks it: the zipped vemotool.exe, with the zipped sample Fonts.txt
// beside it, opens its window without a message and lists every name of the table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

// The names the window lists for a CP932 table of plain "old,new" rows: each old name
// followed by two blanks.
std::wstring ListedNames(const std::string& table) {
  std::wstring names;
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) {
    const std::string name = line.substr(0, line.find(','));
    if (name.empty() || name == "\r") continue;
    const int size = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, name.data(),
                                         static_cast<int>(name.size()), nullptr, 0);
    if (size <= 0) {
      ADD_FAILURE() << "not CP932: " << name;
      continue;
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(932, 0, name.data(), static_cast<int>(name.size()), wide.data(), size);
    names += wide + L"  ";
  }
  return names;
}

TEST(Release, TheZippedProgramListsTheNamesOfTheZippedSampleTable) {
  // Set by the test's ctest entry, which unpacks the zip first; run by hand, say where it is.
  const char* folder = std::getenv("VEMO_RELEASE_DIR");
  ASSERT_TRUE(folder && *folder)
      << "VEMO_RELEASE_DIR is not set: it names the unzipped release folder (vemotool-X.Y.Z)";
  const auto release = HostPath(folder);
  const std::string table = ReadBytes(release / L"Fonts.txt");
  ASSERT_NE("<absent>", table) << Utf8(release.wstring()) << " holds no Fonts.txt";
  ASSERT_NE(std::string::npos, table.find("\r\n")) << "Fonts.txt has no CR LF line ends";
  const std::wstring names = ListedNames(table);
  ASSERT_FALSE(names.empty()) << "the sample Fonts.txt has no rows";

  // A workspace of its own, so that nothing is ever written into the release folder.
  Workspace workspace;
  ASSERT_TRUE(CopyFileW((release / L"vemotool.exe").c_str(), workspace.exe().c_str(), FALSE));
  WriteBytes(workspace.fonts_txt(), table);
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  EXPECT_EQ(Utf8(names), Utf8(TextOf(app.control(IDC_TXTFONTS))));
}

}  // namespace
}  // namespace vemo::e2e
