// FileSystem over Win32 files.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"

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
  // A file another program holds without sharing is waited out for a moment, as for a read.
  void AppendToFile(const std::wstring& path, std::string_view bytes) override;
};

}  // namespace vemo
