#include "errors/report_error.h"

#include "platform/error_text.h"
#include "platform/ui.h"

namespace vemo {

namespace {

// &H80040000..&H8004FFFF, the numbers an application defines for itself.
constexpr std::int32_t kBandFirst = -2147221504;
constexpr std::int32_t kBandLast = -2147155969;

}  // namespace

std::wstring ErrorNumberText(std::int32_t number) {
  if (number >= kBandFirst && number <= kBandLast) {
    return L"N" + std::to_wstring(number - kBandFirst);
  }
  return std::to_wstring(number);
}

std::wstring ErrorMessageText(std::int32_t number) {
  return ErrorDescription(number) + L" (エラー番号:" + ErrorNumberText(number) + L")";
}

void ReportError(std::int32_t number, Ui& ui) {
  ui.ShowMessage(ErrorMessageText(number), MessageStyle::kExclamation);
}

}  // namespace vemo
