#include "platform/win32/form_win.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>

#include "platform/system_error.h"
#include "platform/win32/dpi_win.h"

namespace vemo {

void FormControls::Create(HWND form, HINSTANCE instance) const {
  for (const ControlPlan& plan : plans_) {
    if (!::CreateWindowExW(plan.exStyle, plan.windowClass, plan.text, plan.style, 0, 0, 0, 0, form,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.id)), instance,
                           nullptr)) {
      RaiseSystemError(::GetLastError());
    }
  }
}

void FormControls::ApplyFont(HWND form, UINT dpi) {
  UniqueHfont font = MessageFont(dpi);
  for (const ControlPlan& plan : plans_) {
    ::SendDlgItemMessageW(form, plan.id, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  // The old font goes only after no control uses it any more.
  font_ = std::move(font);
}

void FormControls::Place(HWND form, UINT dpi) const {
  for (const ControlPlan& plan : plans_) {
    SIZE size{Pixels(plan.width, dpi), Pixels(plan.height, dpi)};
    if (plan.growToText) {
      const SIZE text = TextSize(form, plan.text);
      size.cx = std::max(size.cx, text.cx);
      size.cy = std::max(size.cy, text.cy);
    }
    ::SetWindowPos(::GetDlgItem(form, plan.id), nullptr, Pixels(plan.left, dpi),
                   Pixels(plan.top, dpi), size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

SIZE FormControls::TextSize(HWND form, const wchar_t* text) const {
  SIZE size{};
  WindowDc dc(form);
  if (!dc) return size;
  SelectedObject font(dc.get(), font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT));
  ::GetTextExtentPoint32W(dc.get(), text, static_cast<int>(std::wcslen(text)), &size);
  return size;
}

std::vector<WORD> DialogTemplate(DWORD style, DWORD exStyle, const wchar_t* caption) {
  DLGTEMPLATE header{};
  header.style = style;
  header.dwExtendedStyle = exStyle;
  // std::vector's storage is aligned for any fundamental type, so the DWORD alignment holds.
  std::vector<WORD> words(sizeof(header) / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof(header));
  words.push_back(0);  // no menu
  words.push_back(0);  // the predefined dialog class
  for (const wchar_t* c = caption; *c != L'\0'; ++c) words.push_back(*c);
  words.push_back(0);
  return words;
}

}  // namespace vemo
