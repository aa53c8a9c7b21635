// The computer, the user and the local time on Linux (TZ and /etc/localtime).
#pragma once

#include "platform/workstation.h"

namespace vemo {

class PosixWorkstation : public Workstation {
 public:
  // The host name.
  std::wstring ComputerName() override;
  // The name of the effective user; its number where the user database has none.
  std::wstring UserName() override;
  LocalTime Now() override;
};

}  // namespace vemo
