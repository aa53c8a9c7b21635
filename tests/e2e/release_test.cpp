// The release as a user unpacks it: the zipped vemotool.exe, with the zipped sample Fonts.txt
// beside it, opens its window without a message and lists every name of the table.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

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

// The unpacked release folder, which the ctest fixture "release" unpacks first.
std::filesystem::path ReleaseFolder() {
  return HostPath(VEMO_RELEASE_DIR);
}

// A text of the program's version resource (Japanese, Unicode); empty when absent.
std::wstring VersionText(const std::filesystem::path& exe, const std::wstring& name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> info(size);
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, info.data())) return {};
  void* text = nullptr;
  UINT length = 0;
  const std::wstring key = L"\\StringFileInfo\\041104B0\\" + name;
  if (!VerQueryValueW(info.data(), key.c_str(), &text, &length) || length == 0) return {};
  return static_cast<const wchar_t*>(text);
}

// Explorer's Properties of either file say what it is, whose it is and under which licence,
// without starting it.
TEST(Release, BothProgramsNameTheProductAndTheLicenceInTheirVersionResource) {
  const auto release = ReleaseFolder();
  ASSERT_FALSE(release.empty());
  for (const wchar_t* exe : {L"vemotool.exe", L"vemofix.exe"}) {
    SCOPED_TRACE(Utf8(exe));
    EXPECT_EQ(Utf8(kTitle), Utf8(VersionText(release / exe, L"ProductName")));
    EXPECT_EQ("1.2.0.3", Utf8(VersionText(release / exe, L"FileVersion")));
    EXPECT_EQ(Utf8(exe), Utf8(VersionText(release / exe, L"OriginalFilename")));
    EXPECT_EQ(0u, VersionText(release / exe, L"FileDescription").find(kTitle));
    EXPECT_EQ("Copyright (c) 2026 べもつーる developers. MIT License.",
              Utf8(VersionText(release / exe, L"LegalCopyright")));
  }
}

TEST(Release, TheZippedProgramListsTheNamesOfTheZippedSampleTable) {
  const auto release = ReleaseFolder();
  ASSERT_FALSE(release.empty());
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
