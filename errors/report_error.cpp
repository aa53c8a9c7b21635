#include "errors/report_error.h"

#include "platform/error_numbers.h"
#include "platform/error_text.h"
#include "platform/ui.h"

namespace vemo {

std::wstring ErrorNumberText(std::int32_t number) {
  if (number >= err::kApplicationErrorBase && number <= err::kApplicationErrorLast) {
    return L"N" + std::to_wstring(number - err::kApplicationErrorBase);
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
