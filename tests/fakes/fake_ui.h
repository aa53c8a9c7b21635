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
  // Answers with the next of `answers` (はい when none is left).
  bool Ask(const std::wstring& text) override {
    questions.push_back(text);
    events.push_back(L"question");
    if (answers.empty()) return true;
    const bool yes = answers.front();
    answers.erase(answers.begin());
    return yes;
  }
  void SetMousePointer(MousePointer p) override {
    pointer = p;
    events.push_back(p == MousePointer::kHourglass ? L"hourglass" : L"default");
  }

  std::vector<ShownMessage> messages;
  std::vector<std::wstring> questions;
  std::vector<bool> answers;
  std::vector<std::wstring> events;  // "message", "question", "hourglass", "default" in order
  MousePointer pointer = MousePointer::kDefault;
};

}  // namespace vemo::testing
