// The Win32 implementations of the platform interfaces that carry no window of their own;
// the program creates them once and hands them to the code that needs them.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/launcher.h"

namespace vemo {

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::wstring& path) override;
  void CopyWholeFile(const std::wstring& from, const std::wstring& to) override;
  std::string ReadWholeFile(const std::wstring& path) override;
  void ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
};

class Win32Launcher : public Launcher {
 public:
  void Start(const std::wstring& application, const std::wstring& commandLine) override;
};

struct Win32Services {
  Win32FileSystem files;
  Win32Launcher launcher;
};

}  // namespace vemo
