// Paths as text: folders of paths and names joined to folders, roots of every kind.
#include "platform/path.h"

#include <gtest/gtest.h>

namespace vemo {
namespace {

TEST(Path, FolderOfAPathAndANameInAFolderKeepEveryKindOfRoot) {
  const struct {
    std::wstring path, folder;
  } folders[] = {
      {L"C:\\tools\\vemo\\vemotool.exe", L"C:\\tools\\vemo"},
      {L"C:\\vemotool.exe", L"C:\\"},
      {L"\\\\server\\share\\vemotool.exe", L"\\\\server\\share"},
      {L"\\Fonts.txt", L"\\"},
      {L"/Fonts.txt", L"/"},
      {L"dir/Fonts.txt", L"dir"},
      {L"Fonts.txt", L""},
  };
  for (const auto& c : folders) EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path.size();

  EXPECT_EQ(JoinPath(L"C:\\", L"Fonts.txt"), L"C:\\Fonts.txt");
  EXPECT_EQ(JoinPath(L"C:\\tools", L"Fonts.txt"), L"C:\\tools\\Fonts.txt");
  EXPECT_EQ(JoinPath(L"\\\\server\\share", L"a.lst"), L"\\\\server\\share\\a.lst");
  EXPECT_EQ(JoinPath(L"/", L"a.lst", L'/'), L"/a.lst");
  EXPECT_EQ(JoinPath(L"/x", L"a.lst", L'/'), L"/x/a.lst");
}

}  // namespace
}  // namespace vemo
