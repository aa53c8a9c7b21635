// Records what the program shows, in order, for tests of handler sequences.
#pragma once

#include <string>
#include <vector>

#include "platform/ui.h"

namespace vemo::testing {

struct ShownMessage {
  std::wstring text;
  MessageStyle style;
};

class FakeUi : public Ui {
 public:
  void ShowMessage(const std::wstring& text, MessageStyle style) override {
    messages.push_back({text, style});
    events.push_back(L"message");
  }
  void SetMousePointer(MousePointer p) override {
    pointer = p;
    events.push_back(p == MousePointer::kHourglass ? L"hourglass" : L"default");
  }

  std::vector<ShownMessage> messages;
  std::vector<std::wstring> events;  // "message", "hourglass", "default" in call order
  MousePointer pointer = MousePointer::kDefault;
};

}  // namespace vemo::testing
