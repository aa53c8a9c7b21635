#include <unistd.h>

#include <string>

#include "platform/posix/native_path.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"

namespace vemo {

std::wstring ProgramFolder() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) throw RuntimeError(err::kDeviceIoError);
    // A full buffer may mean the path was cut short.
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of('/');
  return WideFromUtf8(slash == 0 ? "/" : path.substr(0, slash));
}

std::wstring PathBesideProgram(const std::wstring& fileName) {
  const std::wstring folder = ProgramFolder();
  return folder == L"/" ? folder + fileName : folder + L"/" + fileName;
}

}  // namespace vemo
