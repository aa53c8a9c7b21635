// The computer a program runs on, who runs it, and the time there: what a record of a run
// names (vemofix --log).
#pragma once

#include <string>

namespace vemo {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int utcOffsetMinutes = 0;  // the local time less UTC: +540 in Japan
};

class Workstation {
 public:
  virtual ~Workstation() = default;
  // Each raises RuntimeError when the system cannot say.
  virtual std::wstring ComputerName() = 0;
  virtual std::wstring UserName() = 0;
  virtual LocalTime Now() = 0;
};

}  // namespace vemo
