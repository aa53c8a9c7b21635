// FileSystem over POSIX files, for vemofix on Linux and for the benchmark. Paths arrive as
// UTF-32 and reach the system as UTF-8 (see native_path.h); errno becomes the runtime error
// number the Windows program would show for the same failure.
#pragma once

#include <cstdint>
#include <string>
#include <span>
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
  std::string ReadWholeFile(const std::wstring& path) override;
  // The temporary file is linked to its name (renameat2 without replacing, or link where the
  // file system lacks it); the folder is then flushed. A temporary file is left behind only
  // by a killed run, and the next run whose process id differs removes it.
  bool CreateWholeFile(const std::wstring& path, std::string_view bytes) override;
  // A symbolic link is followed: the file it leads to is replaced and the link stays. The
  // new file keeps the mode bits, the group and, for root, the owner; the folder is flushed
  // after the rename. A file with no write permission bits is refused, even for root.
  void ReplaceWholeFile(const std::wstring& path,
                        std::span<const std::string_view> pieces) override;
  using FileSystem::ReplaceWholeFile;
  void CreateFolders(const std::wstring& folder) override;
  // Made with mode 0666 less the umask, so that other users can add their records.
  void AppendToFile(const std::wstring& path, std::string_view bytes) override;
};

}  // namespace vemo
