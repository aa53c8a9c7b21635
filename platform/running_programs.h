// The programs running on this computer, known by their image name ("Illustrator.exe").
#pragma once

#include <span>
#include <string_view>

namespace vemo {

class RunningPrograms {
 public:
  virtual ~RunningPrograms() = default;
  // True when a process runs whose image name is one of `imageNames`, in any letter case.
  // Raises RuntimeError when the processes cannot be listed.
  virtual bool AnyRunning(std::span<const std::wstring_view> imageNames) = 0;
};

// `image` is one of `imageNames`, ASCII letters compared without their case, as Windows
// compares file names (the names asked for are ASCII).
bool IsOneOf(std::wstring_view image, std::span<const std::wstring_view> imageNames);

}  // namespace vemo
