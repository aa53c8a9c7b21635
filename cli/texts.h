// What vemofix's messages share: the choice of language, the filling of a message's places,
// and how a name is shown.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "cli/messages.h"
#include "cli/vemofix.h"

namespace vemo::cli {

// `pattern` with each place "{N}" (N from 1 to 9) given the Nth of `values`.
std::wstring Fill(std::wstring_view pattern, std::initializer_list<std::wstring_view> values);

class Texts {
 public:
  explicit Texts(Language language) : ja_(language == Language::kJapanese) {}
  // The message in the user's language, its places filled.
  std::wstring operator()(const Message& message,
                          std::initializer_list<std::wstring_view> values = {}) const {
    return Fill(ja_ ? message.japanese : message.english, values);
  }

 private:
  bool ja_;
};

// "1.2.3"
std::wstring VersionText();

// `text` as it can be shown on one line: control characters written as escapes ("\r", "\t",
// "\x01").
std::wstring Escaped(std::wstring_view text);
// A name (CP932 bytes) as it can be printed on one line, Escaped.
std::wstring Printable(const std::string& cp932);

}  // namespace vemo::cli
