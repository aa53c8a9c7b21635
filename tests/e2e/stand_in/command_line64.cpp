// Prints the command line of the process whose id it is given, as hexadecimal UTF-16 code
// units (plain ASCII, whatever the code page): built 64-bit for the 32-bit end-to-end tests,
// which cannot read a 64-bit process's command line themselves.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/driver.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::wstring line =
      vemo::e2e::CommandLineOf(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
  for (wchar_t unit : line) std::printf("%04X", static_cast<unsigned>(unit));
  return line.empty() ? 1 : 0;
}
