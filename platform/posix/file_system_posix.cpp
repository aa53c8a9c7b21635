#include "platform/posix/file_system_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/atomic_replace.h"
#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"
#include "platform/runtime_error.h"
#include "platform/temporary_name.h"

namespace vemo {
namespace {

// The folder holding `path`: "." (the current folder) for a bare name, "/" at the root.
std::string FolderOrCurrent(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void Raise(const std::string& path, int error = errno) {
  throw RuntimeError(ErrorNumberFromErrno(error, path));
}

// A descriptor for `path` open with `flags`.
UniqueFd Open(const std::string& path, int flags, mode_t mode = 0) {
  UniqueFd fd(::open(path.c_str(), flags | O_CLOEXEC, mode));
  if (!fd) Raise(path);
  return fd;
}

// Closing can report a write that failed late (a full disk on a network file system).
void Close(UniqueFd& fd, const std::string& path) {
  if (::close(fd.release()) != 0) Raise(path);
}

void WriteAll(const UniqueFd& fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd.get(), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      Raise(path);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Reads until the end; `sizeHint` bytes are expected.
std::string ReadAll(const UniqueFd& fd, std::size_t sizeHint, const std::string& path) {
  std::string bytes = BufferForFile(sizeHint);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      Raise(path);
    }
    if (got == 0) break;  // the file became shorter since its size was taken
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

// A name just given or taken is on disk only once its folder is: without this, a power cut
// after "done" could bring the old list back, or lose the backup.
void SyncFolder(const std::string& path) {
  const std::string folder = FolderOrCurrent(path);
  const UniqueFd fd = Open(folder, O_RDONLY | O_DIRECTORY);
  // Some file systems cannot sync a folder and say so with EINVAL; there is nothing more to do.
  if (::fsync(fd.get()) != 0 && errno != EINVAL) Raise(folder);
}

// Whether `rest` (a temporary's name after the infix) names a process that has ended: a run
// killed half-way leaves its temporary file behind, and nothing else will ever remove it.
bool LeftByEndedProcess(std::string_view rest) {
  if (!rest.ends_with(kTemporarySuffix)) return false;
  rest.remove_suffix(kTemporarySuffix.size());
  int pid = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
  const std::string_view attempt = rest.substr(static_cast<std::size_t>(end - rest.data()));
  const bool attemptWellFormed =
      attempt.empty() || (attempt.size() > 1 && attempt[0] == '-' &&
                          attempt.find_first_not_of("0123456789", 1) == std::string_view::npos);
  if (error != std::errc() || pid <= 0 || !attemptWellFormed) return false;
  if (pid == ::getpid()) return true;  // an earlier process with this id; ours is not made yet
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// The owner and group go first: changing them clears the set-id bits of the mode. Root (vemofix
// under sudo) keeps both; anyone else keeps the group where they belong to it, and becomes the
// owner, as any program that replaces a file makes its owner.
void KeepOwnerAndMode(const UniqueFd& fd, const std::string& path, const struct stat& info) {
  if (::fchown(fd.get(), info.st_uid, info.st_gid) != 0 &&
      ::fchown(fd.get(), static_cast<uid_t>(-1), info.st_gid) != 0 && errno != EPERM) {
    Raise(path);
  }
  if (::fchmod(fd.get(), info.st_mode & 07777) != 0) Raise(path);
}

// The temporary file is closed before it is named, so that a write that fails late is seen.
class PosixTemporaryFile : public TemporaryFile {
 public:
  // A file that replaces another is given its owner and mode (`replaced`); a new one has
  // `mode`, less the umask.
  PosixTemporaryFile(const std::string& target, mode_t mode, const struct stat* replaced)
      : target_(target), mode_(mode), replaced_(replaced) {}
  PosixTemporaryFile(const PosixTemporaryFile&) = delete;
  PosixTemporaryFile& operator=(const PosixTemporaryFile&) = delete;
  ~PosixTemporaryFile() override {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  // A leftover is told by its name: the process it names has ended.
  void RemoveLeftovers() override {
    const std::string prefix = NameOf(target_) + std::string(kTemporaryInfix);
    const UniqueDir dir(::opendir(FolderOrCurrent(target_).c_str()));
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
      const std::string_view name = entry->d_name;
      if (name.starts_with(prefix) && LeftByEndedProcess(name.substr(prefix.size())))
        ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
  }

  bool TargetExists() override {
    struct stat info;
    return ::lstat(target_.c_str(), &info) == 0;
  }

  bool CreateExclusively(int attempt) override {
    const std::string path =
        target_ + TemporaryNameSuffix(static_cast<unsigned long>(::getpid()), attempt);
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_));
    if (!fd) {
      if (errno == EEXIST) return false;
      Raise(target_);
    }
    fd_ = std::move(fd);
    path_ = path;
    if (replaced_) KeepOwnerAndMode(fd_, path_, *replaced_);
    return true;
  }

  void Write(std::string_view bytes) override { WriteAll(fd_, bytes, path_); }

  std::uint64_t FlushedSize() override {
    if (::fsync(fd_.get()) != 0) Raise(path_);
    struct stat info;
    if (::fstat(fd_.get(), &info) != 0) Raise(path_);
    return static_cast<std::uint64_t>(info.st_size);
  }

  void RenameOntoTarget() override {
    Close(fd_, path_);
    if (::rename(path_.c_str(), target_.c_str()) != 0) Raise(target_);
    path_.clear();
  }

  bool NameWithoutReplacing() override {
    Close(fd_, path_);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0) {
      path_.clear();
      return true;
    }
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) Raise(target_);
#endif
    // Where the file system cannot rename without replacing: a second name, made only when
    // the target is absent; the temporary name goes with this object.
    if (::link(path_.c_str(), target_.c_str()) == 0) return true;
    if (errno == EEXIST) return false;
    Raise(target_);
  }

 private:
  std::string target_;
  mode_t mode_;
  const struct stat* replaced_;
  std::string path_;  // empty until the file is created, and once it has the target's name
  UniqueFd fd_;
};

struct ErrnoNumber {
  int error;
  std::int32_t number;
};

// errno values and the runtime error a user sees for each, as for the same failure on
// Windows; ENOENT depends on the folder, and any other value is a device I/O error.
constexpr ErrnoNumber kErrnoErrors[] = {
    {ENOTDIR, err::kPathNotFound},
    {EACCES, err::kPathFileAccessError},
    {EPERM, err::kPathFileAccessError},
    {EROFS, err::kPathFileAccessError},
    {EISDIR, err::kPathFileAccessError},
    {ENOSPC, err::kDiskFull},
    {EDQUOT, err::kDiskFull},
    {EFBIG, err::kDiskFull},  // past the file size limit (RLIMIT_FSIZE), once SIGXFSZ is ignored
    {ENAMETOOLONG, err::kBadFileName},
    {EBUSY, err::kPermissionDenied},
    {ETXTBSY, err::kPermissionDenied},
    {ENOMEM, err::kOutOfMemory},
    {EEXIST, err::kFileAlreadyExists},
    {EMFILE, err::kTooManyFiles},
    {ENFILE, err::kTooManyFiles},
};

}  // namespace

std::int32_t ErrorNumberFromErrno(int error, const std::string& path) {
  if (error == ENOENT) {
    struct stat info;
    const std::string folder = FolderOrCurrent(path);
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? err::kFileNotFound
                                                                       : err::kPathNotFound;
  }
  for (const ErrnoNumber& entry : kErrnoErrors) {
    if (entry.error == error) return entry.number;
  }
  return err::kDeviceIoError;
}

bool PosixFileSystem::FileExists(const std::wstring& path) {
  const std::string native = NativePath(path);
  struct stat info;
  if (::stat(native.c_str(), &info) == 0) return S_ISREG(info.st_mode);
  switch (errno) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return false;
    default:
      Raise(native);
  }
}

std::string PosixFileSystem::ReadWholeFile(const std::wstring& path) {
  const std::string native = NativePath(path);
  const UniqueFd fd = Open(native, O_RDONLY);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) Raise(native);
  if (S_ISDIR(info.st_mode)) Raise(native, EISDIR);
  return ReadAll(fd, static_cast<std::size_t>(info.st_size), native);
}

bool PosixFileSystem::CreateWholeFile(const std::wstring& path, std::string_view bytes) {
  const std::string target = NativePath(path);
  PosixTemporaryFile temporary(target, 0666, nullptr);
  if (!AtomicCreate(temporary, bytes)) return false;
  SyncFolder(target);
  return true;
}

void PosixFileSystem::ReplaceWholeFile(const std::wstring& path,
                                       std::span<const std::string_view> pieces) {
  const std::string named = NativePath(path);
  // A list that is a symbolic link stays one: the file it leads to is replaced.
  std::error_code error;
  const std::string target = std::filesystem::canonical(named, error).string();
  if (error) Raise(named, error.value());
  struct stat info;
  if (::stat(target.c_str(), &info) != 0) Raise(target);
  // Root may write anything; the list is refused all the same when nobody may write it, as
  // Windows refuses a read-only file.
  if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    throw RuntimeError(err::kPathFileAccessError);

  PosixTemporaryFile temporary(target, 0600, &info);
  AtomicReplace(temporary, pieces);
  SyncFolder(target);
}

void PosixFileSystem::CreateFolders(const std::wstring& folder) {
  const std::string native = NativePath(folder);
  std::error_code error;
  std::filesystem::create_directories(native, error);
  if (error) Raise(native, error.value());
}

// One write() with O_APPEND: the kernel puts each one whole at the end of a local file. A
// short write would leave part of a record, so it counts as a full disk.
void PosixFileSystem::AppendToFile(const std::wstring& path, std::string_view bytes) {
  const std::string native = NativePath(path);
  UniqueFd fd = Open(native, O_WRONLY | O_APPEND | O_CREAT, 0666);
  ssize_t written;
  do {
    written = ::write(fd.get(), bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  if (written < 0) Raise(native);
  if (static_cast<std::size_t>(written) != bytes.size()) Raise(native, ENOSPC);
  Close(fd, native);
}

}  // namespace vemo
