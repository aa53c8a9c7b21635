// What vemofix's messages share: the choice of language and how a name is shown.
#pragma once

#include <string>
#include <string_view>

#include "cli/vemofix.h"

namespace vemo::cli {

class Texts {
 public:
  explicit Texts(Language language) : ja_(language == Language::kJapanese) {}
  const wchar_t* operator()(const wchar_t* english, const wchar_t* japanese) const {
    return ja_ ? japanese : english;
  }

 private:
  bool ja_;
};

// "1.2.3"
std::wstring VersionText();

// `text` as it can be shown on one line: control characters written as escapes ("\r", "\t",
// "\x01").
std::wstring Escaped(std::wstring_view text);
// A name (CP932 bytes) as it can be shown on one line, Escaped.
std::wstring Shown(const std::string& cp932);

}  // namespace vemo::cli
