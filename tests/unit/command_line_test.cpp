// A word of a command line in quotes: the program's name stands as it is, an argument keeps
// its closing quote from being read as an escaped one.
#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace vemo {
namespace {

TEST(CommandLine, AnArgumentDoublesTheBackslashesItEndsInAProgramNameStandsAsItIs) {
  const struct {
    std::wstring text, asProgramName, asArgument;
  } cases[] = {
      {L"C:\\Program Files\\x.exe", L"\"C:\\Program Files\\x.exe\"",
       L"\"C:\\Program Files\\x.exe\""},
      {L"C:\\a b\\", L"\"C:\\a b\\\"", L"\"C:\\a b\\\\\""},
      {L"C:\\a b\\\\", L"\"C:\\a b\\\\\"", L"\"C:\\a b\\\\\\\\\""},
      {L"\\\\server\\a b", L"\"\\\\server\\a b\"", L"\"\\\\server\\a b\""},
      {L"", L"\"\"", L"\"\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Quoted(c.text, CommandLineWord::kProgramName), c.asProgramName) << c.text.size();
    EXPECT_EQ(Quoted(c.text, CommandLineWord::kArgument), c.asArgument) << c.text.size();
  }
}

}  // namespace
}  // namespace vemo
