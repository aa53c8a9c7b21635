// Where vemofix's text goes: standard output for the report, standard error for problems.
// Implementations convert the text to the console's encoding.
#pragma once

#include <string_view>

namespace vemo::cli {

class Console {
 public:
  virtual ~Console() = default;
  virtual void Out(std::wstring_view text) = 0;
  virtual void Err(std::wstring_view text) = 0;
};

}  // namespace vemo::cli
