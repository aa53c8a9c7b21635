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

// The system denied access (error 75 like a read-only file, but told apart from it): Windows
// virtualizes a denied write of Illustrator's, never a refused read-only file.
class AccessDenied : public RuntimeError {
 public:
  AccessDenied() noexcept : RuntimeError(err::kPathFileAccessError) {}
};

// For the handler of a user action, inside its catch block: the number of the error being
// handled, its own for a RuntimeError, 7 (out of memory) for std::bad_alloc and 51 (internal
// error) for anything else, a fault of the program. Nothing is thrown on: a throw out of a
// window procedure would end the 32-bit program.
std::int32_t CaughtErrorNumber();

}  // namespace vemo
