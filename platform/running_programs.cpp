#include "platform/running_programs.h"

#include <algorithm>

#include "platform/path.h"

namespace vemo {

bool IsOneOf(std::wstring_view image, std::span<const std::wstring_view> imageNames) {
  return std::any_of(imageNames.begin(), imageNames.end(),
                     [&](std::wstring_view name) { return EqualIgnoringAsciiCase(image, name); });
}

}  // namespace vemo
