#include <windows.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/runtime_error.h"
#include "platform/system_error.h"
#include "platform/win32/handle.h"
#include "platform/win32/path_win.h"
#include "platform/win32/win32_services.h"

namespace vemo {

namespace {

// ReadFile and WriteFile count in DWORD.
constexpr std::size_t kChunk = 1u << 30;

// The attributes SetFileAttributesW accepts and a replaced file should keep.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

[[noreturn]] void RaiseLastError() {
  RaiseSystemError(::GetLastError());
}

bool MeansNoSuchFile(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
      return true;
    default:
      return false;
  }
}

// The new content, written beside the file it will replace so that putting it in place is a
// rename within one volume. Removed again unless it was put in place.
class TemporaryFile {
 public:
  TemporaryFile(const std::wstring& target, DWORD attributes) {
    const std::wstring stem = target + L".vemo-" + std::to_wstring(::GetCurrentProcessId());
    for (int attempt = 0;; ++attempt) {
      path_ = attempt == 0 ? stem + L".tmp" : stem + L"-" + std::to_wstring(attempt) + L".tmp";
      file_.reset(
          ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
      if (file_) return;
      const DWORD error = ::GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 99) {
        path_.clear();
        RaiseSystemError(error);
      }
    }
  }
  ~TemporaryFile() {
    file_.reset();
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void WriteAllAndClose(std::string_view bytes) {
    while (!bytes.empty()) {
      const auto size = static_cast<DWORD>(std::min(bytes.size(), kChunk));
      DWORD written = 0;
      if (!::WriteFile(file_.get(), bytes.data(), size, &written, nullptr)) RaiseLastError();
      if (written != size) RaiseSystemError(ERROR_DISK_FULL);
      bytes.remove_prefix(written);
    }
    if (!::FlushFileBuffers(file_.get())) RaiseLastError();
    if (!::CloseHandle(file_.release())) RaiseLastError();
  }

  // MoveFileExW rather than ReplaceFileW: without a backup name, ReplaceFileW can fail
  // half-way (ERROR_UNABLE_TO_MOVE_REPLACEMENT) with the original already gone.
  void MoveOnto(const std::wstring& target) {
    if (!::MoveFileExW(path_.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      RaiseLastError();
    }
    path_.clear();
  }

 private:
  std::wstring path_;
  UniqueFile file_;
};

// The rename over the file fails when another program holds it open without sharing delete
// access. Asking for that access first tells "in use by another program" apart from "access
// denied", and spares writing the whole temporary file for nothing.
void CheckNotInUse(const std::wstring& path) {
  UniqueFile probe(::CreateFileW(path.c_str(), DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe) RaiseLastError();
}

}  // namespace

bool Win32FileSystem::FileExists(const std::wstring& path) {
  // A search pattern would find some other file: the path names one file or none.
  if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) return false;
  WIN32_FIND_DATAW found;
  UniqueFind find(::FindFirstFileW(path.c_str(), &found));
  if (!find) {
    const DWORD error = ::GetLastError();
    if (MeansNoSuchFile(error)) return false;
    RaiseSystemError(error);
  }
  const DWORD notOrdinary =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (found.dwFileAttributes & notOrdinary) == 0;
}

void Win32FileSystem::CopyWholeFile(const std::wstring& from, const std::wstring& to) {
  if (!::CopyFileW(from.c_str(), to.c_str(), TRUE)) RaiseLastError();
}

std::string Win32FileSystem::ReadWholeFile(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) RaiseLastError();
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) RaiseLastError();

  std::string bytes;
  try {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    throw RuntimeError(err::kOutOfMemory);
  } catch (const std::length_error&) {
    throw RuntimeError(err::kOutOfMemory);
  }
  std::size_t total = 0;
  while (total < bytes.size()) {
    const auto want = static_cast<DWORD>(std::min(bytes.size() - total, kChunk));
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + total, want, &got, nullptr)) RaiseLastError();
    if (got == 0) break;  // the file became shorter since its size was taken
    total += got;
  }
  bytes.resize(total);
  return bytes;
}

void Win32FileSystem::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  // Full paths: the rename must not depend on the current folder, and Wine's file functions
  // have been seen to fail on relative ones.
  const std::wstring target = FullPath(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) RaiseLastError();
  // Windows refuses to replace a read-only file; Wine does not, so the program looks itself.
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    throw RuntimeError(err::kPathFileAccessError);
  }
  CheckNotInUse(target);

  const DWORD kept = attributes & kKeptAttributes;
  TemporaryFile temporary(target, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  temporary.WriteAllAndClose(bytes);
  temporary.MoveOnto(target);
  // The rename gives the file the temporary's attributes; not every file system keeps the
  // ones given at creation, so they are set again.
  if (!::SetFileAttributesW(target.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL)) {
    RaiseLastError();
  }
}

}  // namespace vemo
