#include "platform/command_line.h"

namespace vemo {

std::wstring Quoted(std::wstring_view text, CommandLineWord word) {
  std::wstring quoted = L"\"";
  quoted += text;
  if (word == CommandLineWord::kArgument) {
    for (auto c = text.rbegin(); c != text.rend() && *c == L'\\'; ++c) quoted += L'\\';
  }
  return quoted + L"\"";
}

}  // namespace vemo
