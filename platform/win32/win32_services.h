// The Win32 implementations of the platform interfaces that carry no window of their own;
// the program creates them once and hands them to the code that needs them.
#pragma once

#include "platform/win32/file_ranges_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/launcher_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/running_programs_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/virtualization_win.h"

namespace vemo {

struct Win32Services {
  Win32FileSystem files;
  Win32Launcher launcher;
  Win32Virtualization virtualization;
  Win32Registry registry;
  Win32Shell shell;
  Win32FileRanges fonts;
  Win32RunningPrograms programs;
};

}  // namespace vemo
