// Start-up: the main window frmVemo is the program's start-up object; the program runs
// until it is destroyed.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/frm_vemo.h"
#include "errors/report_error.h"
#include "platform/runtime_error.h"
#include "platform/win32/com_win.h"
#include "platform/win32/dll_search_win.h"
#include "platform/win32/ui_win.h"
#include "platform/win32/win32_services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // Before anything loads a DLL: the common controls below are the first.
  vemo::LoadDllsFromSystemFolderOnly();

  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
  InitCommonControlsEx(&controls);

  // Before the shell is asked to open a folder.
  vemo::ComApartment com;
  vemo::WinUi ui;
  vemo::Win32Services services;
  std::unique_ptr<vemo::FrmVemo> form;
  try {
    form = std::make_unique<vemo::FrmVemo>(instance, ui, services.files, services.launcher,
                                           services.virtualization, services.registry,
                                           services.shell, services.fonts, services.programs);
    form->Load(showCommand);
  } catch (...) {
    // The window itself could not be made: nothing to run.
    vemo::ReportError(vemo::CaughtErrorNumber(), ui);
    return 1;
  }

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The dialog manager gives the window Tab, the arrow keys between the options, and
    // the keyboard interface of its controls.
    if (form->Hwnd() && IsDialogMessageW(form->Hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
