#include "platform/known_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace vemo {

std::wstring CommonFiles32Folder() {
  wchar_t folder[MAX_PATH] = {};
  // The x86 folder asked for by name, so that a 64-bit build finds what the 32-bit program
  // finds; plain Common Files where the shell does not know that name.
  for (int id : {CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_PROGRAM_FILES_COMMON}) {
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder))) {
      return folder;
    }
  }
  return L"";
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace vemo
