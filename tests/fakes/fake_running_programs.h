// The running programs as a test sets them; every question is counted.
#pragma once

#include <string>
#include <vector>

#include "platform/running_programs.h"

namespace vemo::testing {

class FakeRunningPrograms : public RunningPrograms {
 public:
  bool AnyRunning(std::span<const std::wstring_view> imageNames) override {
    ++asked;
    for (const std::wstring& image : running) {
      if (IsOneOf(image, imageNames)) return true;
    }
    return false;
  }

  std::vector<std::wstring> running;  // image names
  int asked = 0;
};

}  // namespace vemo::testing
