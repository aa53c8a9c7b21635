#include "platform/font_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/known_folders.h"
#include "platform/path.h"
#include "platform/win32/path_win.h"

namespace vemo {

std::vector<std::wstring> FontFolders() {
  std::vector<std::wstring> folders;
  const std::wstring system = ShellFolder(CSIDL_FONTS);
  if (!system.empty()) folders.push_back(system);
  const std::wstring local = ShellFolder(CSIDL_LOCAL_APPDATA);
  if (!local.empty()) {
    const std::wstring user = JoinPath(local, L"Microsoft\\Windows\\Fonts");
    if (FolderExists(user)) folders.push_back(user);
  }
  return folders;
}

}  // namespace vemo
