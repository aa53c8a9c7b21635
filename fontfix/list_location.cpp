#include "fontfix/list_location.h"

namespace vemo {

std::wstring ListFileName(bool illustrator10) {
  return illustrator10 ? L"AdobeFnt05.lst" : L"AdobeFnt.lst";
}

std::wstring BackupFileName(std::wstring_view listName) {
  return std::wstring(listName) + L" のバックアップ";
}

std::wstring StartListFolder(const std::wstring& commonFiles32,
                             const std::function<bool(const std::wstring&)>& folderExists) {
  if (folderExists(kDefaultListFolder) || commonFiles32.empty()) return kDefaultListFolder;
  std::wstring folder = commonFiles32;
  if (folder.back() != L'\\') folder += L'\\';
  folder += L"Adobe\\TypeSpt";
  return folderExists(folder) ? folder : kDefaultListFolder;
}

}  // namespace vemo
