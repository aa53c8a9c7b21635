#include "platform/win32/clipboard_win.h"

#include <cstring>

#include "platform/scope_exit.h"
#include "platform/system_error.h"
#include "platform/win32/handle.h"

namespace vemo {

void CopyToClipboard(HWND owner, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) RaiseSystemError(::GetLastError());
  void* chars = ::GlobalLock(memory.get());
  if (chars == nullptr) RaiseSystemError(::GetLastError());
  std::memcpy(chars, text.c_str(), bytes);
  ::GlobalUnlock(memory.get());

  if (!::OpenClipboard(owner)) RaiseSystemError(::GetLastError());
  const ScopeExit close([] { ::CloseClipboard(); });
  if (!::EmptyClipboard()) RaiseSystemError(::GetLastError());
  if (!::SetClipboardData(CF_UNICODETEXT, memory.get())) RaiseSystemError(::GetLastError());
  // The clipboard owns it now.
  memory.release();
}

}  // namespace vemo
