// Failures travel as a runtime error number from where they happen to the one
// handler of the user's action that reports them.
#pragma once

#include <cstdint>
#include <exception>

#include "platform/error_numbers.h"

namespace vemo {

class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(std::int32_t number) noexcept : number_(number) {}
  std::int32_t Number() const noexcept { return number_; }
  const char* what() const noexcept override { return "runtime error"; }

 private:
  std::int32_t number_;
};

// For the handler of a user action, inside its catch block: the number of the error being
// handled, its own for a RuntimeError, 7 (out of memory) for std::bad_alloc and 51 (internal
// error) for anything else, a fault of the program. Nothing is thrown on: a throw out of a
// window procedure would end the 32-bit program.
std::int32_t CaughtErrorNumber();

}  // namespace vemo
