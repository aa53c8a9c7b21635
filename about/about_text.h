// The texts frmAbout's Form_Load computes at every opening.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

// title & "のﾊﾞｰｼﾞｮﾝ情報"
std::wstring AboutCaption(std::wstring_view title);
// "ﾊﾞｰｼﾞｮﾝ " & major & "." & minor & "." & revision, plain decimal.
std::wstring VersionText(int major, int minor, int revision);

}  // namespace vemo
