// Stands in for a system DLL planted beside a program or in its current folder. Loaded, it
// adds the path of the program that loaded it as a line to "<its own path>.loaded", and does
// nothing else.
#include <windows.h>

#include "platform/win32/handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t record[MAX_PATH + 8] = {};
  wchar_t program[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(self, record, MAX_PATH);
  const DWORD programLength = GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || programLength >= MAX_PATH) return TRUE;
  lstrcatW(record, L".loaded");
  program[programLength] = L'\n';
  vemo::UniqueFile file(CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) {
    WriteFile(file.get(), program, (programLength + 1) * sizeof(wchar_t), &written, nullptr);
  }
  return TRUE;
}
