// Message boxes and the application-wide mouse pointer.
#pragma once

#include <string>

namespace vemo {

// Style numbers of a message box: icon and buttons.
enum class MessageStyle : int {
  kOkOnly = 0,        // OK, no icon
  kCritical = 16,     // stop icon, OK
  kExclamation = 48,  // exclamation icon, OK
  kInformation = 64,  // information icon, OK
};

enum class MousePointer : int {
  kDefault = 0,
  kHourglass = 11,
};

class Ui {
 public:
  virtual ~Ui() = default;
  // A modal box with the application title as caption; returns when the user closes it.
  virtual void ShowMessage(const std::wstring& text, MessageStyle style) = 0;
  // A modal question with the question icon and はい/いいえ: true for はい.
  virtual bool Ask(const std::wstring& text) = 0;
  // The pointer shown over every window of the program.
  virtual void SetMousePointer(MousePointer pointer) = 0;
};

}  // namespace vemo
