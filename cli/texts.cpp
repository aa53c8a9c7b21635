#include "cli/texts.h"

#include "platform/app_info.h"
#include "platform/codepage.h"

namespace vemo::cli {

std::wstring VersionText() {
  return std::to_wstring(app_info::kMajor) + L"." + std::to_wstring(app_info::kMinor) + L"." +
         std::to_wstring(app_info::kRevision);
}

std::wstring Fill(std::wstring_view pattern, std::initializer_list<std::wstring_view> values) {
  std::wstring out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool place = pattern[i] == L'{' && i + 2 < pattern.size() && pattern[i + 1] >= L'1' &&
                       pattern[i + 1] <= L'9' && pattern[i + 2] == L'}';
    const auto index = place ? static_cast<std::size_t>(pattern[i + 1] - L'1') : values.size();
    if (index < values.size()) {
      out += values.begin()[index];
      i += 2;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::wstring Printable(const std::string& cp932) {
  return Escaped(WideFromCp932(cp932));
}

std::wstring Escaped(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r') {
      out += L"\\r";
    } else if (c == L'\n') {
      out += L"\\n";
    } else if (c == L'\t') {
      out += L"\\t";
    } else if (c < 0x20 || c == 0x7F) {
      const wchar_t digits[] = L"0123456789ABCDEF";
      out += L"\\x";
      out += digits[(c >> 4) & 0xF];
      out += digits[c & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace vemo::cli
