// Whole-file access as bytes. Paths are UTF-16 throughout; contents are never transcoded.
// Every failure raises RuntimeError with the number a user would see.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when a directory search for exactly this path, asking for ordinary files, finds
  // it: folders, hidden and system files count as absent.
  virtual bool FileExists(const std::wstring& path) = 0;
  // Byte copy of `from` to `to`.
  virtual void CopyWholeFile(const std::wstring& from, const std::wstring& to) = 0;
  virtual std::string ReadWholeFile(const std::wstring& path) = 0;
  // Replaces the existing file `path` with `bytes` in one step: a temporary file in the same
  // folder is written and flushed, then put in place, keeping the file's attributes. On any
  // failure the file is as it was and no temporary file is left. Refuses a read-only file.
  virtual void ReplaceWholeFile(const std::wstring& path, std::string_view bytes) = 0;
};

}  // namespace vemo
