#include "about/about_text.h"

namespace vemo {

std::wstring AboutCaption(std::wstring_view title) {
  return std::wstring(title) + L"のﾊﾞｰｼﾞｮﾝ情報";
}

std::wstring VersionText(int major, int minor, int revision) {
  return L"ﾊﾞｰｼﾞｮﾝ " + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
         std::to_wstring(revision);
}

}  // namespace vemo
