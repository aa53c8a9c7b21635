// Starting other programs; never waits for them.
#pragma once

#include <string>

namespace vemo {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts `application` (a full path, or empty to take the program from the command line)
  // with `commandLine` in a normal window that gets the focus. Raises RuntimeError when the
  // program cannot be started.
  virtual void Start(const std::wstring& application, const std::wstring& commandLine) = 0;
};

}  // namespace vemo
