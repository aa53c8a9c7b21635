#include "platform/path.h"

#include <algorithm>

namespace vemo {
namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

wchar_t FoldedAscii(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

std::wstring FolderOfPath(std::wstring_view path) {
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos) return std::wstring();
  // A root keeps its separator: "\x" and "/x" are in "\" and "/", "C:\x" in "C:\".
  if (slash == 0 || (slash == 2 && path[1] == L':')) return std::wstring(path.substr(0, slash + 1));
  return std::wstring(path.substr(0, slash));
}

bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return FoldedAscii(x) == FoldedAscii(y); });
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name, wchar_t separator) {
  std::wstring path(folder);
  if (path.empty() || !IsSeparator(path.back())) path += separator;
  return path.append(name);
}

}  // namespace vemo
