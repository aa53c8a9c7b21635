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

// A number only this mapping produces: a handle shortage.
constexpr std::int32_t kTooManyFiles = 67;

}  // namespace

std::int32_t ErrorNumberFromSystemCode(std::uint32_t code) {
  switch (code) {
    case win::kFileNotFound:
      return err::kFileNotFound;
    case win::kPathNotFound:
    case win::kBadPathname:
    case win::kInvalidDrive:
    case win::kBadNetPath:
    case win::kBadNetName:
      return err::kPathNotFound;
    case win::kAccessDenied:
      return err::kPathFileAccessError;
    case win::kSharingViolation:
    case win::kLockViolation:
      return err::kPermissionDenied;
    case win::kDiskFull:
    case win::kHandleDiskFull:
      return err::kDiskFull;
    case win::kInvalidName:
    case win::kFilenameExcedRange:
      return err::kBadFileName;
    case win::kNotReady:
      return err::kDeviceUnavailable;
    case win::kNotEnoughMemory:
    case win::kOutOfMemory:
      return err::kOutOfMemory;
    case win::kFileExists:
    case win::kAlreadyExists:
      return err::kFileAlreadyExists;
    case win::kTooManyOpenFiles:
      return kTooManyFiles;
    default:
      return err::kDeviceIoError;
  }
}

void RaiseSystemError(std::uint32_t code) {
  throw RuntimeError(ErrorNumberFromSystemCode(code));
}

}  // namespace vemo
