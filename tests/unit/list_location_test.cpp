// Where the folder box and vemofix start: Illustrator's usual folder, or the one a 32-bit
// Illustrator has on 64-bit Windows.
#include "fontfix/list_location.h"

#include <gtest/gtest.h>

#include <set>

namespace vemo {
namespace {

TEST(StartListFolder, TheUsualFolderUnlessOnlyThe32BitCommonFilesHoldsTypeSpt) {
  const std::wstring usual = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";
  const std::wstring x86 = L"D:\\Program Files (x86)\\Common Files\\Adobe\\TypeSpt";
  struct Case {
    std::set<std::wstring> existing;
    std::wstring commonFiles32;
    std::wstring expected;
  };
  const Case cases[] = {
      {{usual, x86}, L"D:\\Program Files (x86)\\Common Files", usual},
      {{x86}, L"D:\\Program Files (x86)\\Common Files", x86},
      {{x86}, L"D:\\Program Files (x86)\\Common Files\\", x86},
      {{}, L"D:\\Program Files (x86)\\Common Files", usual},
      {{x86}, L"", usual},
  };
  for (const Case& c : cases) {
    const auto exists = [&](const std::wstring& folder) { return c.existing.count(folder) > 0; };
    EXPECT_EQ(StartListFolder(c.commonFiles32, exists), c.expected) << c.commonFiles32.size();
  }
}

}  // namespace
}  // namespace vemo
