#include "fontfix/folder_text.h"

namespace vemo {

bool IsFolderBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\u3000';
}

std::wstring TrimBlanks(std::wstring_view text) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && IsFolderBlank(text[start])) ++start;
  while (end > start && IsFolderBlank(text[end - 1])) --end;
  return std::wstring(text.substr(start, end - start));
}

std::wstring TargetFolder(std::wstring_view folderText) {
  std::wstring folder = TrimBlanks(folderText);
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace vemo
