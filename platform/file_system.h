// Whole-file access as bytes. Paths are UTF-16 throughout; contents are never transcoded.
// Every failure raises RuntimeError with the number a user would see.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/runtime_error.h"

namespace vemo {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when a directory search for exactly this path, asking for ordinary files, finds
  // it: folders, hidden and system files count as absent.
  virtual bool FileExists(const std::wstring& path) = 0;
  virtual std::string ReadWholeFile(const std::wstring& path) = 0;
  // Makes the file `path` with `bytes` so that, at every instant, it is either absent or
  // whole: a temporary file beside it is written and flushed, then given the name without
  // replacing anything. Returns false, writing nothing, when a file of that name is there
  // already or appears meanwhile (another run made it first). Temporary files that killed
  // runs left beside `path` are removed; on any failure this run's is removed too.
  virtual bool CreateWholeFile(const std::wstring& path, std::string_view bytes) = 0;
  // Replaces the existing file `path` with the pieces, one after the other, in one step: a
  // temporary file in the same folder is written and flushed, its size checked, then put in
  // place, keeping the file's attributes. On any failure the file is as it was and no
  // temporary file is left. Refuses a read-only file.
  virtual void ReplaceWholeFile(const std::wstring& path,
                                std::span<const std::string_view> pieces) = 0;

  // Makes the folder and each missing folder above it; one that exists is left as it is.
  virtual void CreateFolders(const std::wstring& folder) = 0;

  // Adds `bytes` at the end of the file `path`, made when missing, in one write in append mode,
  // so that records that several programs (on several computers, over a share) add at the
  // same moment stay whole and none is lost.
  virtual void AppendToFile(const std::wstring& path, std::string_view bytes) = 0;

  void ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
    ReplaceWholeFile(path, std::span<const std::string_view>(&bytes, 1));
  }
  // Byte copy of `from` to a `to` that must not exist yet: error 58 when it does.
  void CopyWholeFile(const std::wstring& from, const std::wstring& to) {
    if (!CreateWholeFile(to, ReadWholeFile(from))) throw RuntimeError(err::kFileAlreadyExists);
  }
};

// Room for a file of `size` bytes about to be read, for the systems' ReadWholeFile: error 7 (out
// of memory) when there is none.
std::string BufferForFile(std::size_t size);

// Another FileSystem whose every error names the file the failing call was given (unless a
// call nearer the failure named one): what a user who reads the error needs to act on it.
class FileNamingFileSystem : public FileSystem {
 public:
  explicit FileNamingFileSystem(FileSystem& files) : files_(files) {}

  bool FileExists(const std::wstring& path) override;
  std::string ReadWholeFile(const std::wstring& path) override;
  bool CreateWholeFile(const std::wstring& path, std::string_view bytes) override;
  void ReplaceWholeFile(const std::wstring& path,
                        std::span<const std::string_view> pieces) override;
  using FileSystem::ReplaceWholeFile;
  void CreateFolders(const std::wstring& folder) override;
  void AppendToFile(const std::wstring& path, std::string_view bytes) override;

 private:
  FileSystem& files_;
};

}  // namespace vemo
