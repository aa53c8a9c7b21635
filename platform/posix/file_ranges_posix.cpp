#include "platform/posix/file_ranges_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/posix/file_system_posix.h"
#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"
#include "platform/runtime_error.h"

namespace vemo {
namespace {

class PosixOpenFile : public OpenFile {
 public:
  explicit PosixOpenFile(const std::string& path)
      : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (!fd_) Raise();
    struct stat info;
    if (::fstat(fd_.get(), &info) != 0) Raise();
    if (!S_ISREG(info.st_mode)) Raise(EISDIR);
    size_ = static_cast<std::uint64_t>(info.st_size);
  }

  std::uint64_t Size() const override { return size_; }

  std::string Read(std::uint64_t offset, std::size_t length) override {
    if (offset >= size_) return {};
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)),
                      '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t got = ::pread(fd_.get(), bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset + done));
      if (got < 0) {
        if (errno == EINTR) continue;
        Raise();
      }
      if (got == 0) break;  // the file became shorter since it was opened
      done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
  }

 private:
  [[noreturn]] void Raise(int error = errno) const {
    throw RuntimeError(ErrorNumberFromErrno(error, path_));
  }

  std::string path_;
  UniqueFd fd_;
  std::uint64_t size_ = 0;
};

}  // namespace

std::unique_ptr<OpenFile> PosixFileRanges::Open(const std::wstring& path) {
  return std::make_unique<PosixOpenFile>(NativePath(path));
}

std::vector<std::wstring> PosixFileRanges::FilesUnder(const std::wstring& folder) {
  namespace fs = std::filesystem;
  std::vector<std::wstring> files;
  std::error_code error;
  // A folder that cannot be read is passed over, as one that is missing.
  fs::recursive_directory_iterator it(NativePath(folder),
                                      fs::directory_options::skip_permission_denied, error);
  for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
    std::error_code kind;
    if (it->is_regular_file(kind)) files.push_back(WideFromUtf8(it->path().native()));
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace vemo
