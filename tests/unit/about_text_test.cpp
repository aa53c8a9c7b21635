#include <gtest/gtest.h>

#include "about/about_text.h"
#include "platform/app_info.h"

namespace vemo {
namespace {

TEST(AboutText, CaptionIsTitleThenSuffixWithoutBlank) {
  EXPECT_EQ(AboutCaption(app_info::kTitle), L"べもつーるのﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(AboutCaption(L""), L"のﾊﾞｰｼﾞｮﾝ情報");
}

TEST(AboutText, VersionShowsMajorMinorRevision) {
  EXPECT_EQ(VersionText(app_info::kMajor, app_info::kMinor, app_info::kRevision), L"ﾊﾞｰｼﾞｮﾝ 1.2.3");
  EXPECT_EQ(VersionText(1, 10, 0), L"ﾊﾞｰｼﾞｮﾝ 1.10.0");
  EXPECT_EQ(VersionText(12, 0, 305), L"ﾊﾞｰｼﾞｮﾝ 12.0.305");
}

}  // namespace
}  // namespace vemo
