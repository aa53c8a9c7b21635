// The one dialog through which every runtime error reaches the user.
#pragma once

#include <cstdint>
#include <string>

namespace vemo {

class Ui;

// "N" & offset for the application-defined band &H80040000..&H8004FFFF; otherwise the
// number in decimal with its sign.
std::wstring ErrorNumberText(std::int32_t number);
// description & " (エラー番号:" & number text & ")"
std::wstring ErrorMessageText(std::int32_t number);
// Shows ErrorMessageText with the exclamation style.
void ReportError(std::int32_t number, Ui& ui);

}  // namespace vemo
