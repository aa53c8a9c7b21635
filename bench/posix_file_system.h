// FileSystem over POSIX files, for the benchmark only: Windows paths' backslashes become
// slashes, UTF-16 paths become UTF-8. The program itself uses the Win32 implementation.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vemo::bench {

std::string NativePath(const std::wstring& path);
void WriteFile(const std::string& path, std::string_view bytes);

class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(const std::wstring& path) override;
  void CopyWholeFile(const std::wstring& from, const std::wstring& to) override;
  std::string ReadWholeFile(const std::wstring& path) override;
  // Writes a temporary file beside the list and renames it over the list.
  void ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
};

}  // namespace vemo::bench
