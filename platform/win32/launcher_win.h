// Starting other programs on Win32.
#pragma once

#include <string>

#include "platform/launcher.h"

namespace vemo {

class Win32Launcher : public Launcher {
 public:
  void Start(const std::wstring& application, const std::wstring& commandLine) override;
};

}  // namespace vemo
