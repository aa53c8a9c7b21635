// The computer, the user and the local time as Windows (XP too) tells them.
#pragma once

#include "platform/workstation.h"

namespace vemo {

class Win32Workstation : public Workstation {
 public:
  // The NetBIOS name, as %COMPUTERNAME% shows it.
  std::wstring ComputerName() override;
  // The name the user logged on with, without the domain, as %USERNAME% shows it.
  std::wstring UserName() override;
  // The time of the time zone Windows is set to, summer time included.
  LocalTime Now() override;
};

}  // namespace vemo
