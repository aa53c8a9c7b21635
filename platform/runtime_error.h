// Failures travel as a runtime error number from where they happen to the one
// handler of the user's action that reports them.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "platform/error_numbers.h"

namespace vemo {

class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(std::int32_t number) noexcept : number_(number) {}
  std::int32_t Number() const noexcept { return number_; }
  const char* what() const noexcept override { return "runtime error"; }

  // The file the error concerns, named by the code that knew it on the error's way up; empty
  // when none did. The error dialog shows the number's words alone; vemofix names the file.
  const std::wstring& File() const noexcept;
  // Names `file` unless a call nearer the failure has named one already.
  void NameFile(const std::wstring& file);

 private:
  std::int32_t number_;
  // Shared, so that copying the error (as throwing may) cannot fail.
  std::shared_ptr<const std::wstring> file_;
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
// Inside the same catch block: the file the error concerns, empty when none is named.
std::wstring CaughtErrorFile();

// Runs `action`; a RuntimeError it raises goes on naming `file` unless it names one already.
template <typename Action>
decltype(auto) Concerning(const std::wstring& file, Action&& action) {
  try {
    return action();
  } catch (RuntimeError& error) {
    error.NameFile(file);
    throw;
  }
}

}  // namespace vemo
