#include "platform/win32/virtualization_win.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/path.h"
#include "platform/win32/handle.h"
#include "platform/win32/path_win.h"

namespace vemo {
namespace {

// Empty when the variable is not set.
std::wstring Variable(const wchar_t* name) {
  std::wstring value(MAX_PATH, L'\0');
  DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  if (length >= value.size()) {
    value.resize(length);
    length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  }
  value.resize(length < value.size() ? length : 0);
  return value;
}

bool VirtualizationAllowed(HANDLE token) {
  DWORD allowed = 0;
  DWORD size = 0;
  return ::GetTokenInformation(token, TokenVirtualizationAllowed, &allowed, sizeof(allowed),
                               &size) &&
         allowed != 0;
}

// The long form of `path`, which must exist; empty when Windows gives none.
std::wstring LongPath(const std::wstring& path) {
  const DWORD needed = ::GetLongPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return L"";
  std::wstring result(needed, L'\0');
  const DWORD length = ::GetLongPathNameW(path.c_str(), result.data(), needed);
  if (length == 0 || length >= needed) return L"";
  result.resize(length);
  return result;
}

}  // namespace

VirtualizationFacts Win32Virtualization::Facts() {
  if (facts_) return *facts_;
  VirtualizationFacts facts;
  facts.inForce = TokenAllowsVirtualization();
  if (facts.inForce) {
    const std::wstring windows = ShellFolder(CSIDL_WINDOWS);
    if (!windows.empty()) facts.windowsFolder = FullLongPath(windows);
    // A 32-bit program is told the (x86) folder for both ids; the 64-bit one comes from the
    // variable Windows sets for it.
    for (const std::wstring& folder :
         {ShellFolder(CSIDL_PROGRAM_FILES), ShellFolder(CSIDL_PROGRAM_FILESX86),
          Variable(L"ProgramW6432"), ShellFolder(CSIDL_COMMON_APPDATA)}) {
      if (!folder.empty()) facts.programFolders.push_back(FullLongPath(folder));
    }
    const std::wstring local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (!local.empty()) facts.storeFolder = JoinPath(FullLongPath(local), L"VirtualStore");
  }
  facts_ = facts;
  return facts;
}

std::wstring Win32Virtualization::FullLongPath(const std::wstring& path) {
  std::wstring head = FullPath(path);
  std::wstring tail;  // the part that does not exist, each name after a "\"
  for (;;) {
    const std::wstring found = LongPath(head);
    if (!found.empty()) return tail.empty() ? found : JoinPath(found, tail.substr(1));
    const std::wstring parent = FolderOfPath(head);
    if (parent.empty() || parent.size() >= head.size()) return head + tail;
    tail = L"\\" + head.substr(head.find_last_of(L"\\/") + 1) + tail;
    head = parent;
  }
}

bool Win32Virtualization::TokenAllowsVirtualization() {
  UniqueKernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  TOKEN_ELEVATION_TYPE elevation = TokenElevationTypeDefault;
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenElevationType, &elevation, sizeof(elevation),
                             &size) ||
      elevation != TokenElevationTypeFull) {
    return VirtualizationAllowed(token.get());
  }
  // Run as administrator: Illustrator, started normally, gets the filtered token.
  TOKEN_LINKED_TOKEN linked{};
  if (!::GetTokenInformation(token.get(), TokenLinkedToken, &linked, sizeof(linked), &size)) {
    return false;
  }
  const UniqueKernelHandle normal(linked.LinkedToken);
  return VirtualizationAllowed(normal.get());
}

}  // namespace vemo
