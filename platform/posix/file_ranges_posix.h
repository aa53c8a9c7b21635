// FileRanges over POSIX files: pread on a descriptor, a recursive folder walk.
#pragma once

#include "platform/file_ranges.h"

namespace vemo {

class PosixFileRanges : public FileRanges {
 public:
  std::unique_ptr<OpenFile> Open(const std::wstring& path) override;
  std::vector<std::wstring> FilesUnder(const std::wstring& folder) override;
};

}  // namespace vemo
