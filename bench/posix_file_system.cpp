#include "bench/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/runtime_error.h"

namespace vemo::bench {
namespace {

[[noreturn]] void ThrowFromErrno() {
  switch (errno) {
    case ENOENT:
      throw RuntimeError(err::kFileNotFound);
    case EACCES:
    case EPERM:
      throw RuntimeError(err::kPathFileAccessError);
    case ENOSPC:
      throw RuntimeError(err::kDiskFull);
    default:
      throw RuntimeError(err::kDeviceIoError);
  }
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {
    if (fd_ < 0) ThrowFromErrno();
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { ::close(fd_); }
  int get() const { return fd_; }

 private:
  int fd_;
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string NativePath(const std::wstring& path) {
  std::string out;
  for (wchar_t c : path) AppendUtf8(out, c == L'\\' ? U'/' : static_cast<char32_t>(c));
  return out;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd.get(), bytes.data(), bytes.size());
    if (written < 0) ThrowFromErrno();
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool PosixFileSystem::FileExists(const std::wstring& path) {
  struct stat info;
  return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void PosixFileSystem::CopyWholeFile(const std::wstring& from, const std::wstring& to) {
  std::error_code error;
  std::filesystem::copy_file(NativePath(from), NativePath(to),
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) throw RuntimeError(err::kDeviceIoError);
}

std::string PosixFileSystem::ReadWholeFile(const std::wstring& path) {
  Fd fd(::open(NativePath(path).c_str(), O_RDONLY));
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) ThrowFromErrno();
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0) ThrowFromErrno();
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

void PosixFileSystem::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  const std::string target = NativePath(path);
  const std::string temporary = target + ".vemo-tmp";
  try {
    WriteFile(temporary, bytes);
  } catch (...) {
    std::remove(temporary.c_str());
    throw;
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int saved = errno;
    std::remove(temporary.c_str());
    errno = saved;
    ThrowFromErrno();
  }
}

}  // namespace vemo::bench
