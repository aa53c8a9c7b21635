#include "platform/file_system.h"

#include <new>
#include <stdexcept>

namespace vemo {

std::string BufferForFile(std::size_t size) {
  std::string bytes;
  try {
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    throw RuntimeError(err::kOutOfMemory);
  } catch (const std::length_error&) {
    throw RuntimeError(err::kOutOfMemory);
  }
  return bytes;
}

bool FileNamingFileSystem::FileExists(const std::wstring& path) {
  return Concerning(path, [&] { return files_.FileExists(path); });
}

std::string FileNamingFileSystem::ReadWholeFile(const std::wstring& path) {
  return Concerning(path, [&] { return files_.ReadWholeFile(path); });
}

bool FileNamingFileSystem::CreateWholeFile(const std::wstring& path, std::string_view bytes) {
  return Concerning(path, [&] { return files_.CreateWholeFile(path, bytes); });
}

void FileNamingFileSystem::ReplaceWholeFile(const std::wstring& path,
                                            std::span<const std::string_view> pieces) {
  Concerning(path, [&] { files_.ReplaceWholeFile(path, pieces); });
}

void FileNamingFileSystem::CreateFolders(const std::wstring& folder) {
  Concerning(folder, [&] { files_.CreateFolders(folder); });
}

void FileNamingFileSystem::AppendToFile(const std::wstring& path, std::string_view bytes) {
  Concerning(path, [&] { files_.AppendToFile(path, bytes); });
}

}  // namespace vemo
