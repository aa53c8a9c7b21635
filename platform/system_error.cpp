#include "platform/system_error.h"

#include "platform/runtime_error.h"

namespace vemo {

namespace {

// Win32 error codes, spelled out so that this file builds without <windows.h>.
namespace win {
constexpr std::uint32_t kFileNotFound = 2;          // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kPathNotFound = 3;          // ERROR_PATH_NOT_FOUND
constexpr std::uint32_t kTooManyOpenFiles = 4;      // ERROR_TOO_MANY_OPEN_FILES
constexpr std::uint32_t kAccessDenied = 5;          // ERROR_ACCESS_DENIED
constexpr std::uint32_t kNotEnoughMemory = 8;       // ERROR_NOT_ENOUGH_MEMORY
constexpr std::uint32_t kOutOfMemory = 14;          // ERROR_OUTOFMEMORY
constexpr std::uint32_t kInvalidDrive = 15;         // ERROR_INVALID_DRIVE
constexpr std::uint32_t kNotReady = 21;             // ERROR_NOT_READY
constexpr std::uint32_t kSharingViolation = 32;     // ERROR_SHARING_VIOLATION
constexpr std::uint32_t kLockViolation = 33;        // ERROR_LOCK_VIOLATION
constexpr std::uint32_t kHandleDiskFull = 39;       // ERROR_HANDLE_DISK_FULL
constexpr std::uint32_t kBadNetPath = 53;           // ERROR_BAD_NETPATH
constexpr std::uint32_t kBadNetName = 67;           // ERROR_BAD_NET_NAME
constexpr std::uint32_t kFileExists = 80;           // ERROR_FILE_EXISTS
constexpr std::uint32_t kDiskFull = 112;            // ERROR_DISK_FULL
constexpr std::uint32_t kInvalidName = 123;         // ERROR_INVALID_NAME
constexpr std::uint32_t kBadPathname = 161;         // ERROR_BAD_PATHNAME
constexpr std::uint32_t kAlreadyExists = 183;       // ERROR_ALREADY_EXISTS
constexpr std::uint32_t kFilenameExcedRange = 206;  // ERROR_FILENAME_EXCED_RANGE
}  // namespace win

struct CodeNumber {
  std::uint32_t code;
  std::int32_t number;
};

// Win32 error codes and the runtime error a user sees for each; any other code is a device
// I/O error.
constexpr CodeNumber kWin32Errors[] = {
    {win::kFileNotFound, err::kFileNotFound},
    {win::kPathNotFound, err::kPathNotFound},
    {win::kBadPathname, err::kPathNotFound},
    {win::kInvalidDrive, err::kPathNotFound},
    {win::kBadNetPath, err::kPathNotFound},
    {win::kBadNetName, err::kPathNotFound},
    {win::kAccessDenied, err::kPathFileAccessError},
    {win::kSharingViolation, err::kPermissionDenied},
    {win::kLockViolation, err::kPermissionDenied},
    {win::kDiskFull, err::kDiskFull},
    {win::kHandleDiskFull, err::kDiskFull},
    {win::kInvalidName, err::kBadFileName},
    {win::kFilenameExcedRange, err::kBadFileName},
    {win::kNotReady, err::kDeviceUnavailable},
    {win::kNotEnoughMemory, err::kOutOfMemory},
    {win::kOutOfMemory, err::kOutOfMemory},
    {win::kFileExists, err::kFileAlreadyExists},
    {win::kAlreadyExists, err::kFileAlreadyExists},
    {win::kTooManyOpenFiles, err::kTooManyFiles},
};

}  // namespace

std::int32_t ErrorNumberFromSystemCode(std::uint32_t code) {
  for (const CodeNumber& entry : kWin32Errors) {
    if (entry.code == code) return entry.number;
  }
  return err::kDeviceIoError;
}

void RaiseSystemError(std::uint32_t code) {
  if (code == win::kAccessDenied) throw AccessDenied();
  throw RuntimeError(ErrorNumberFromSystemCode(code));
}

}  // namespace vemo
