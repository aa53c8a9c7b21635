// FileSystem over POSIX files, for vemofix on Linux and for the benchmark. Paths arrive as
// UTF-32 and reach the system as UTF-8 (see native_path.h); errno becomes the runtime error
// number the Windows program would show for the same failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vemo {

// The runtime error number for `error` (an errno value) met while working on `path`
// (native bytes): ENOENT is a missing file (53) when the folder exists, otherwise a missing
// folder (76).
std::int32_t ErrorNumberFromErrno(int error, const std::string& path);

class PosixFileSystem : public FileSystem {
 public:
  // A regular file (after symbolic links); folders and other kinds count as absent.
  bool FileExists(const std::wstring& path) override;
  // Refuses to overwrite an existing `to`, as the Windows copy does; a copy cut short by a
  // failure is removed, so that a half backup never stands in for the real one.
  void CopyWholeFile(const std::wstring& from, const std::wstring& to) override;
  std::string ReadWholeFile(const std::wstring& path) override;
  // A temporary file beside the target is written, flushed to disk and given the target's
  // mode bits, then renamed over it. A file with no write permission bits is refused, even
  // for root.
  void ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
};

}  // namespace vemo
