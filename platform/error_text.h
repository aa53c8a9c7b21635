// The runtime's description of an error number, in Japanese.
#pragma once

#include <cstdint>
#include <string>

namespace vemo {

// A short Japanese text for every number; numbers without their own text get a generic one.
std::wstring ErrorDescription(std::int32_t number);

}  // namespace vemo
