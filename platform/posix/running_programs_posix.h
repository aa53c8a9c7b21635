// The running programs as Linux shows them in /proc: vemofix on Linux looks for the Windows
// programs that Wine runs there.
#pragma once

#include <string>

#include "platform/running_programs.h"

namespace vemo {

class PosixRunningPrograms : public RunningPrograms {
 public:
  // `proc`: the folder the kernel shows its processes in.
  explicit PosixRunningPrograms(std::string proc = "/proc") : proc_(std::move(proc)) {}

  // A process's image name is its "comm" (Wine sets it to the .exe's name), which the kernel
  // cuts to 15 bytes; when the file name that starts its command line (Wine puts the Windows
  // path of the .exe there) begins with a cut name, that longer name is the image name. A
  // process that ends while it is read is not running. Raises RuntimeError when the folder
  // cannot be read.
  bool AnyRunning(std::span<const std::wstring_view> imageNames) override;

 private:
  std::string proc_;
};

}  // namespace vemo
