// A form's controls as one table: each made from its plan, placed at its twips for the
// window's DPI and given the system's message font at that DPI. Both windows of the program
// are laid out this way.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "platform/win32/handle.h"

namespace vemo {

struct ControlPlan {
  int id;
  const wchar_t* windowClass;  // WC_BUTTONW, WC_EDITW, WC_STATICW
  const wchar_t* text;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;  // twips, in the client area
  // A one-line caption that grows to show all of its text when the font needs more room
  // than the layout gives it, as an auto-sized label does.
  bool growToText = false;
};

// The controls of one form, made in the order of their plans: the order Tab walks.
class FormControls {
 public:
  explicit FormControls(std::span<const ControlPlan> plans) : plans_(plans) {}

  // Makes every control a child of `form`, unplaced. Raises RuntimeError on failure.
  void Create(HWND form, HINSTANCE instance) const;
  // Gives every control the message font at `dpi`. Raises RuntimeError on failure.
  void ApplyFont(HWND form, UINT dpi);
  // Places every control at its twips for `dpi`, in the font ApplyFont gave it.
  void Place(HWND form, UINT dpi) const;
  // Once the form's window is gone: its next window gets a font of its own.
  void ReleaseFont() { font_.reset(); }

 private:
  SIZE TextSize(HWND form, const wchar_t* text) const;

  std::span<const ControlPlan> plans_;
  UniqueHfont font_;
};

// The in-memory template of a modal dialog whose controls come from a FormControls table in
// WM_INITDIALOG, where their twips can be turned into pixels at the owner's DPI: no controls,
// no menu, the predefined dialog class. Its storage is aligned as DialogBoxIndirectParamW asks.
std::vector<WORD> DialogTemplate(DWORD style, DWORD exStyle, const wchar_t* caption);

}  // namespace vemo
