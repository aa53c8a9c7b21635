// One word of a command line in double quotes, so that a path with blanks reaches the program
// started as one word.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

// Where the word stands on the command line. The program's name is read up to the next quote
// as it stands; an argument is read as CommandLineToArgvW reads it, where backslashes before
// a quote escape it.
enum class CommandLineWord {
  kProgramName,
  kArgument,
};

// `text` in double quotes. As an argument, the backslashes it ends in are doubled: a closing
// quote after a backslash would read as an escaped quote ("C:\a b\" ends in `\"`).
std::wstring Quoted(std::wstring_view text, CommandLineWord word);

}  // namespace vemo
