#include "platform/error_text.h"

#include "platform/error_numbers.h"

namespace vemo {

std::wstring ErrorDescription(std::int32_t number) {
  for (const auto& [n, text] : kErrorTexts) {
    if (n == number) return text;
  }
  return kGenericErrorText;
}

}  // namespace vemo
