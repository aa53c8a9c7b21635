// The command line of another process. A 32-bit driver cannot read the process parameters of
// a 64-bit process (the explorer.exe that a 32-bit program starts on 64-bit Windows), and
// 32-bit Wine has neither NtWow64QueryInformationProcess64 nor ProcessCommandLineInformation:
// a small 64-bit reader built beside the tests (VEMO_COMMAND_LINE64) reads it instead.
#include <winternl.h>

#include <string>

#include "tests/e2e/driver.h"

namespace vemo::e2e {
namespace {

// Read from the process parameters: works where both processes have the same bitness.
std::wstring SameBitnessCommandLineOf(HANDLE process) {
  std::wstring result;
  PROCESS_BASIC_INFORMATION basic{};
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) ==
          0 &&
      ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), nullptr) &&
      ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters), nullptr)) {
    result.resize(parameters.CommandLine.Length / sizeof(wchar_t));
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, result.data(),
                           parameters.CommandLine.Length, nullptr)) {
      result.clear();
    }
  }
  return result;
}

#ifdef VEMO_COMMAND_LINE64
bool IsNative64BitFromWow64(HANDLE process) {
  BOOL self = FALSE;
  BOOL other = FALSE;
  return IsWow64Process(GetCurrentProcess(), &self) && self && IsWow64Process(process, &other) &&
         !other;
}

// The 64-bit reader's answer: the command line as hexadecimal UTF-16 units.
std::wstring ReadBy64BitReader(DWORD pid) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return {};
  UniqueKernelHandle reading(read);
  UniqueKernelHandle writing(write);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  // The build names the reader by its Unix path: drive Z: under Wine.
  std::string path = VEMO_COMMAND_LINE64;
  if (path.starts_with('/')) path = "Z:" + path;
  std::wstring command = L"\"";
  for (char c : path) command += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  command += L"\" " + std::to_wstring(pid);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &started)) {
    return {};
  }
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
  writing.reset();
  std::string hex;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0) hex.append(buffer, got);
  WaitForSingleObject(process.get(), 10000);
  std::wstring line;
  for (std::size_t i = 0; i + 4 <= hex.size(); i += 4) {
    line.push_back(static_cast<wchar_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
  }
  return line;
}
#endif

}  // namespace

std::wstring CommandLineOf(DWORD pid) {
  UniqueKernelHandle owner(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!owner) return {};
#ifdef VEMO_COMMAND_LINE64
  if (IsNative64BitFromWow64(owner.get())) return ReadBy64BitReader(pid);
#endif
  return SameBitnessCommandLineOf(owner.get());
}

}  // namespace vemo::e2e
