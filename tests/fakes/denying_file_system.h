// Another file system with writes into one folder denied (AccessDenied), as Program Files
// denies a user without administrator rights; tests run as root, where nothing is denied.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/runtime_error.h"

namespace vemo::testing {

class DenyingFileSystem : public FileSystem {
 public:
  DenyingFileSystem(FileSystem& files, std::wstring deniedFolder)
      : files_(files), deniedFolder_(std::move(deniedFolder)) {}

  bool FileExists(const std::wstring& path) override { return files_.FileExists(path); }
  std::string ReadWholeFile(const std::wstring& path) override {
    return files_.ReadWholeFile(path);
  }
  bool CreateWholeFile(const std::wstring& path, std::string_view bytes) override {
    DenyIn(path);
    return files_.CreateWholeFile(path, bytes);
  }
  void ReplaceWholeFile(const std::wstring& path,
                        std::span<const std::string_view> pieces) override {
    DenyIn(path);
    files_.ReplaceWholeFile(path, pieces);
  }
  using FileSystem::ReplaceWholeFile;
  void CreateFolders(const std::wstring& folder) override { files_.CreateFolders(folder); }
  void AppendToFile(const std::wstring& path, std::string_view bytes) override {
    files_.AppendToFile(path, bytes);
  }

 private:
  void DenyIn(const std::wstring& path) {
    if (FolderOfPath(path) == deniedFolder_) throw AccessDenied();
  }

  FileSystem& files_;
  std::wstring deniedFolder_;
};

}  // namespace vemo::testing
