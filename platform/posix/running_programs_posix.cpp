#include "platform/posix/running_programs_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/posix/file_system_posix.h"
#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"
#include "platform/runtime_error.h"

namespace vemo {
namespace {

// The kernel keeps 15 bytes of a program's name in "comm".
constexpr std::size_t kCommLength = 15;

// The error `error` met while reading the folder `path`, naming it.
[[noreturn]] void RaiseFor(const std::string& path, int error) {
  RuntimeError raised(ErrorNumberFromErrno(error, path + "/"));
  raised.NameFile(WideFromUtf8(path));
  throw raised;
}

// The first bytes of a small file of /proc; nothing when it cannot be read (the process ended).
std::optional<std::string> Head(const std::string& path) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return std::nullopt;
  std::string bytes(4096, '\0');
  ssize_t got;
  do {
    got = ::read(fd.get(), bytes.data(), bytes.size());
  } while (got < 0 && errno == EINTR);
  if (got < 0) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(got));
  return bytes;
}

// The file name of a path, Windows ("C:\...\x.exe") or POSIX.
std::string FileNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::optional<std::string> ImageName(const std::string& processFolder) {
  std::optional<std::string> comm = Head(processFolder + "/comm");
  if (!comm) return std::nullopt;
  if (comm->ends_with('\n')) comm->pop_back();
  const std::optional<std::string> commandLine = Head(processFolder + "/cmdline");
  if (comm->size() < kCommLength || !commandLine) return comm;
  // The command line's first word ends at its first NUL.
  const std::string program = FileNameOf(commandLine->substr(0, commandLine->find('\0')));
  return program.starts_with(*comm) ? program : *comm;
}

bool IsProcessId(std::string_view name) {
  return !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

bool PosixRunningPrograms::AnyRunning(std::span<const std::wstring_view> imageNames) {
  const UniqueDir proc(::opendir(proc_.c_str()));
  if (!proc) RaiseFor(proc_, errno);
  errno = 0;
  while (const dirent* entry = ::readdir(proc.get())) {
    if (!IsProcessId(entry->d_name)) continue;
    const std::optional<std::string> image = ImageName(proc_ + "/" + entry->d_name);
    if (image && IsOneOf(WideFromUtf8(*image), imageNames)) return true;
    errno = 0;
  }
  if (errno != 0) RaiseFor(proc_, errno);
  return false;
}

}  // namespace vemo
