#include "platform/posix/workstation_posix.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string>
#include <vector>

#include "platform/posix/native_path.h"
#include "platform/runtime_error.h"

namespace vemo {

std::wstring PosixWorkstation::ComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof(name) - 1) != 0) throw RuntimeError(err::kDeviceIoError);
  return WideFromUtf8(name);
}

std::wstring PosixWorkstation::UserName() {
  const uid_t user = ::geteuid();
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  const int error = ::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found);
  if (error != 0 && error != ENOENT && error != ESRCH) throw RuntimeError(err::kDeviceIoError);
  if (!found) return std::to_wstring(user);
  return WideFromUtf8(entry.pw_name);
}

LocalTime PosixWorkstation::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !::localtime_r(&now, &local)) {
    throw RuntimeError(err::kDeviceIoError);
  }
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int>(local.tm_gmtoff / 60)};
}

}  // namespace vemo
