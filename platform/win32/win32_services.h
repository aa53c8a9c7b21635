// The Win32 implementations of the platform interfaces that carry no window of their own;
// the program creates them once and hands them to the code that needs them.
#pragma once

#include <string>
#include <span>
#include <string_view>

#include "platform/file_system.h"
#include "platform/launcher.h"
#include "platform/win32/virtualization_win.h"

namespace vemo {

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::wstring& path) override;
  // A sharing conflict is waited out for a moment before it is reported (error 70): another
  // run of the tool may hold the file for a few milliseconds.
  std::string ReadWholeFile(const std::wstring& path) override;
  // The temporary file is named with MoveFileExW without replacing, written through.
  bool CreateWholeFile(const std::wstring& path, std::string_view bytes) override;
  void ReplaceWholeFile(const std::wstring& path,
                        std::span<const std::string_view> pieces) override;
  using FileSystem::ReplaceWholeFile;
  void CreateFolders(const std::wstring& folder) override;
};

class Win32Launcher : public Launcher {
 public:
  void Start(const std::wstring& application, const std::wstring& commandLine) override;
};

struct Win32Services {
  Win32FileSystem files;
  Win32Launcher launcher;
  Win32Virtualization virtualization;
};

}  // namespace vemo
