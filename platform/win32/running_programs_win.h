// The running programs as the Toolhelp functions list them (Windows XP has them).
#pragma once

#include "platform/running_programs.h"

namespace vemo {

class Win32RunningPrograms : public RunningPrograms {
 public:
  // Every process of the system, whoever runs it: an image name needs no right to the process.
  bool AnyRunning(std::span<const std::wstring_view> imageNames) override;
};

}  // namespace vemo
