// A computer and a user at a fixed time, as a test sets them.
#pragma once

#include <string>

#include "platform/workstation.h"

namespace vemo::testing {

class FakeWorkstation : public Workstation {
 public:
  std::wstring ComputerName() override { return computer; }
  std::wstring UserName() override { return user; }
  LocalTime Now() override { return now; }

  std::wstring computer = L"PC01";
  std::wstring user = L"taro";
  LocalTime now{2026, 12, 24, 8, 30, 5, 540};
};

}  // namespace vemo::testing
