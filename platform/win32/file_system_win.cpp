#include "platform/win32/file_system_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "platform/atomic_replace.h"
#include "platform/runtime_error.h"
#include "platform/temporary_name.h"
#include "platform/system_error.h"
#include "platform/win32/handle.h"
#include "platform/win32/path_win.h"

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

// Another run of ours (the window and vemofix started together) holds the list for a few
// milliseconds at a time; such a conflict is waited out before it counts as "in use".
constexpr DWORD kInUseWaitMs = 1000;

// Runs `attempt` (true on success, false with the last error set) until it succeeds, fails
// for another reason than the file being in use, or the wait is over. Returns the last error,
// or ERROR_SUCCESS. MoveFileExW answers "access denied" while the file it replaces is open.
template <typename Attempt>
DWORD UnlessLongInUse(Attempt attempt, bool deniedMeansInUse = false) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (attempt()) return ERROR_SUCCESS;
    const DWORD error = ::GetLastError();
    const bool inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                       (deniedMeansInUse && error == ERROR_ACCESS_DENIED);
    if (!inUse || ::GetTickCount() - start >= kInUseWaitMs) return error;
    ::Sleep(10);
  }
}

// CreateFileW, waiting a moment while the file is in use (UnlessLongInUse).
UniqueFile OpenUnlessLongInUse(const std::wstring& path, DWORD access, DWORD share,
                               DWORD disposition, DWORD flags) {
  UniqueFile file;
  const DWORD error = UnlessLongInUse([&] {
    file.reset(::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
    return static_cast<bool>(file);
  });
  if (error != ERROR_SUCCESS) RaiseSystemError(error);
  return file;
}

// New content, written beside the file it becomes so that naming it is a rename within one
// volume. It stays open until it has its name, so that no other run takes it for a leftover.
class Win32TemporaryFile : public TemporaryFile {
 public:
  // The file is created with `attributes`.
  Win32TemporaryFile(const std::wstring& target, DWORD attributes)
      : target_(target), attributes_(attributes) {}
  ~Win32TemporaryFile() override {
    file_.reset();
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }
  Win32TemporaryFile(const Win32TemporaryFile&) = delete;
  Win32TemporaryFile& operator=(const Win32TemporaryFile&) = delete;

  // A live run holds its own open, without sharing it for anything but the rename, so only a
  // leftover opens here; it goes when the handle closes.
  void RemoveLeftovers() override {
    const std::wstring folder = FolderOfPath(target_);
    WIN32_FIND_DATAW found;
    std::wstring pattern = target_;
    pattern.append(kTemporaryInfix.begin(), kTemporaryInfix.end()).append(L"*");
    pattern.append(kTemporarySuffix.begin(), kTemporarySuffix.end());
    UniqueFind find(::FindFirstFileW(pattern.c_str(), &found));
    if (!find) return;
    do {
      UniqueFile leftover(::CreateFileW(JoinPath(folder, found.cFileName).c_str(), DELETE, 0,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE,
                                        nullptr));
    } while (::FindNextFileW(find.get(), &found));
  }

  bool TargetExists() override {
    return ::GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool CreateExclusively(int attempt) override {
    const std::string suffix = TemporaryNameSuffix(::GetCurrentProcessId(), attempt);
    std::wstring path = target_;
    path.append(suffix.begin(), suffix.end());
    file_.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                              attributes_, nullptr));
    if (!file_) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return false;
      RaiseSystemError(error);
    }
    path_ = path;
    return true;
  }

  void Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const auto size = static_cast<DWORD>(std::min(bytes.size(), kChunk));
      DWORD written = 0;
      if (!::WriteFile(file_.get(), bytes.data(), size, &written, nullptr)) RaiseLastError();
      if (written != size) RaiseSystemError(ERROR_DISK_FULL);
      bytes.remove_prefix(written);
    }
  }

  std::uint64_t FlushedSize() override {
    if (!::FlushFileBuffers(file_.get())) RaiseLastError();
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file_.get(), &size)) RaiseLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  // MoveFileExW rather than ReplaceFileW: without a backup name, ReplaceFileW can fail
  // half-way (ERROR_UNABLE_TO_MOVE_REPLACEMENT) with the original already gone.
  void RenameOntoTarget() override {
    const DWORD error = UnlessLongInUse(
        [&] {
          return ::MoveFileExW(path_.c_str(), target_.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        },
        true);
    if (error != ERROR_SUCCESS) RaiseSystemError(error);
    Named();
  }

  bool NameWithoutReplacing() override {
    if (!::MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH)) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return false;
      RaiseSystemError(error);
    }
    Named();
    return true;
  }

 private:
  void Named() {
    path_.clear();
    if (!::CloseHandle(file_.release())) RaiseLastError();
  }

  std::wstring target_;
  DWORD attributes_;
  std::wstring path_;  // empty until the file is created, and once it has the target's name
  UniqueFile file_;
};

// The rename over the file fails when another program holds it open without sharing delete
// access. Asking for that access first tells "in use by another program" apart from "access
// denied", and spares writing the whole temporary file for nothing.
void CheckNotInUse(const std::wstring& path) {
  OpenUnlessLongInUse(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
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

std::string Win32FileSystem::ReadWholeFile(const std::wstring& path) {
  const UniqueFile file = OpenUnlessLongInUse(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN);
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) RaiseLastError();

  std::string bytes = BufferForFile(static_cast<std::size_t>(size.QuadPart));
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

bool Win32FileSystem::CreateWholeFile(const std::wstring& path, std::string_view bytes) {
  Win32TemporaryFile temporary(FullPath(path), FILE_ATTRIBUTE_NORMAL);
  return AtomicCreate(temporary, bytes);
}

void Win32FileSystem::ReplaceWholeFile(const std::wstring& path,
                                       std::span<const std::string_view> pieces) {
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
  Win32TemporaryFile temporary(target, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  AtomicReplace(temporary, pieces);
  // The rename gives the file the temporary's attributes; not every file system keeps the
  // ones given at creation, so they are set again.
  if (!::SetFileAttributesW(target.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL)) {
    RaiseLastError();
  }
}

void Win32FileSystem::CreateFolders(const std::wstring& folder) {
  const std::wstring full = FullPath(folder);
  if (::CreateDirectoryW(full.c_str(), nullptr)) return;
  DWORD error = ::GetLastError();
  if (error == ERROR_PATH_NOT_FOUND) {
    const std::wstring parent = FolderOfPath(full);
    if (parent.empty() || parent == full) RaiseSystemError(error);
    CreateFolders(parent);
    if (::CreateDirectoryW(full.c_str(), nullptr)) return;
    error = ::GetLastError();
  }
  // A folder made meanwhile, by another run or by Windows, is as good as one made here.
  const DWORD attributes = ::GetFileAttributesW(full.c_str());
  const bool isFolder =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (error != ERROR_ALREADY_EXISTS || !isFolder) RaiseSystemError(error);
}

// FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end of the file as it is at
// that moment, on a share too, so writers on several computers never overwrite each other.
void Win32FileSystem::AppendToFile(const std::wstring& path, std::string_view bytes) {
  UniqueFile file = OpenUnlessLongInUse(path, FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  const auto size = static_cast<DWORD>(std::min(bytes.size(), kChunk));
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), size, &written, nullptr)) RaiseLastError();
  if (written != bytes.size()) RaiseSystemError(ERROR_DISK_FULL);
  if (!::CloseHandle(file.release())) RaiseLastError();
}

}  // namespace vemo
