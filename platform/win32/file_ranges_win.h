// FileRanges over Win32 files: ReadFile at an offset, a recursive FindFirstFileW walk.
#pragma once

#include "platform/file_ranges.h"

namespace vemo {

class Win32FileRanges : public FileRanges {
 public:
  std::unique_ptr<OpenFile> Open(const std::wstring& path) override;
  std::vector<std::wstring> FilesUnder(const std::wstring& folder) override;
};

}  // namespace vemo
