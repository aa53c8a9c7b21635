#include "platform/posix/file_system_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <stdexcept>

#include "platform/posix/native_path.h"
#include "platform/runtime_error.h"

namespace vemo {
namespace {

// The Windows program's number for a copy onto an existing file.
constexpr std::int32_t kFileAlreadyExists = 58;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void Raise(const std::string& path, int error = errno) {
  throw RuntimeError(ErrorNumberFromErrno(error, path));
}

class Fd {
 public:
  Fd(int fd, const std::string& path) : fd_(fd) {
    if (fd_ < 0) Raise(path);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closing can report a write that failed late (a full disk on a network file system).
  void Close(const std::string& path) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Raise(path);
  }

 private:
  int fd_;
};

// Removes the file at `path` on destruction unless told to keep it.
class RemoveUnlessKept {
 public:
  explicit RemoveUnlessKept(std::string path) : path_(std::move(path)) {}
  RemoveUnlessKept(const RemoveUnlessKept&) = delete;
  RemoveUnlessKept& operator=(const RemoveUnlessKept&) = delete;
  ~RemoveUnlessKept() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

void WriteAll(const Fd& fd, std::string_view bytes, const std::string& path) {
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
std::string ReadAll(const Fd& fd, std::size_t sizeHint, const std::string& path) {
  std::string bytes;
  try {
    bytes.resize(sizeHint);
  } catch (const std::bad_alloc&) {
    throw RuntimeError(err::kOutOfMemory);
  } catch (const std::length_error&) {
    throw RuntimeError(err::kOutOfMemory);
  }
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

// A new file beside `target`, created exclusively, with a name no other run uses.
Fd CreateTemporary(const std::string& target, std::string& temporary) {
  const std::string stem = target + ".vemo-" + std::to_string(::getpid());
  for (int attempt = 0;; ++attempt) {
    temporary = attempt == 0 ? stem + ".tmp" : stem + "-" + std::to_string(attempt) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) return Fd(fd, temporary);
    if (errno != EEXIST || attempt == 99) {
      const int error = errno;
      temporary.clear();
      Raise(target, error);
    }
  }
}

}  // namespace

std::int32_t ErrorNumberFromErrno(int error, const std::string& path) {
  switch (error) {
    case ENOENT: {
      struct stat info;
      const std::string folder = FolderOf(path);
      return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? err::kFileNotFound
                                                                         : err::kPathNotFound;
    }
    case ENOTDIR:
      return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return err::kPathFileAccessError;
    case ENOSPC:
    case EDQUOT:
      return err::kDiskFull;
    case ENAMETOOLONG:
      return err::kBadFileName;
    case EBUSY:
    case ETXTBSY:
      return err::kPermissionDenied;
    case ENOMEM:
      return err::kOutOfMemory;
    case EEXIST:
      return kFileAlreadyExists;
    default:
      return err::kDeviceIoError;
  }
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

void PosixFileSystem::CopyWholeFile(const std::wstring& from, const std::wstring& to) {
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC), source);
  struct stat info;
  if (::fstat(in.get(), &info) != 0) Raise(source);
  const std::string bytes = ReadAll(in, static_cast<std::size_t>(info.st_size), source);

  Fd out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), target);
  RemoveUnlessKept partial(target);
  WriteAll(out, bytes, target);
  if (::fsync(out.get()) != 0) Raise(target);
  out.Close(target);
  partial.Keep();
}

std::string PosixFileSystem::ReadWholeFile(const std::wstring& path) {
  const std::string native = NativePath(path);
  Fd fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC), native);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) Raise(native);
  if (S_ISDIR(info.st_mode)) Raise(native, EISDIR);
  return ReadAll(fd, static_cast<std::size_t>(info.st_size), native);
}

void PosixFileSystem::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  const std::string target = NativePath(path);
  struct stat info;
  if (::stat(target.c_str(), &info) != 0) Raise(target);
  // Root may write anything; the list is refused all the same when nobody may write it, as
  // Windows refuses a read-only file.
  if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    throw RuntimeError(err::kPathFileAccessError);

  std::string temporary;
  Fd fd = CreateTemporary(target, temporary);
  RemoveUnlessKept cleanup(temporary);
  if (::fchmod(fd.get(), info.st_mode & 07777) != 0) Raise(temporary);
  WriteAll(fd, bytes, temporary);
  if (::fsync(fd.get()) != 0) Raise(temporary);
  fd.Close(temporary);
  if (::rename(temporary.c_str(), target.c_str()) != 0) Raise(target);
  cleanup.Keep();
}

}  // namespace vemo
