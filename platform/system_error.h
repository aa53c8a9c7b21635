// Turns an operating-system error code into the runtime error number a user sees.
// Portable: the Win32 codes are plain numbers here, so the mapping is tested natively.
#pragma once

#include <cstdint>

namespace vemo {

std::int32_t ErrorNumberFromSystemCode(std::uint32_t code);

// Raises the RuntimeError for a Win32 error code (GetLastError()).
[[noreturn]] void RaiseSystemError(std::uint32_t code);

}  // namespace vemo
