// Failures travel as a runtime error number from where they happen to the one
// handler of the user's action that reports them.
#pragma once

#include <cstdint>
#include <exception>

namespace vemo {

// The numbers a user of the tool sees in the error dialog.
namespace err {
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kBadFileName = 52;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kDeviceIoError = 57;
inline constexpr std::int32_t kFileAlreadyExists = 58;
inline constexpr std::int32_t kDiskFull = 61;
inline constexpr std::int32_t kInputPastEndOfFile = 62;
inline constexpr std::int32_t kPermissionDenied = 70;  // the file is in use by another program
inline constexpr std::int32_t kDeviceUnavailable = 71;
inline constexpr std::int32_t kPathFileAccessError = 75;  // access denied
inline constexpr std::int32_t kPathNotFound = 76;

// The tool's own numbers, in the application-defined band &H80040000..&H8004FFFF; the error
// dialog shows them as "N" and the offset.
inline constexpr std::int32_t kApplicationErrorBase = static_cast<std::int32_t>(0x80040000u);
// A name in a UTF-8 "Fonts.txt" holds a character that CP932 cannot hold (N1001).
inline constexpr std::int32_t kNameNotInCp932 = kApplicationErrorBase + 1001;
}  // namespace err

class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(std::int32_t number) noexcept : number_(number) {}
  std::int32_t Number() const noexcept { return number_; }
  const char* what() const noexcept override { return "runtime error"; }

 private:
  std::int32_t number_;
};

// For the handler of a user action, inside its catch block: the number of the error being
// handled, its own for a RuntimeError and 7 (out of memory) for std::bad_alloc. Any other
// exception is a fault of the program, not a runtime error: it is thrown on.
std::int32_t CaughtErrorNumber();

}  // namespace vemo
