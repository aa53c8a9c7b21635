#include "tests/e2e/workspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/win/test_support.h"

namespace vemo::e2e {
namespace fs = std::filesystem;

namespace {

// How long a vemofix run may work once it has started.
constexpr Deadline kFixRunWork{VEMO_FIX_RUN_SECONDS * 1000};

std::wstring EnvironmentVariable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : L"";
}

}  // namespace

fs::path HostPath(std::string path) {
  // The build passes a Unix path when cross-compiling: under Wine that is drive Z:.
  if (!path.empty() && path.front() == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return fs::path(std::wstring(path.begin(), path.end()));
}

fs::path BesideTests(const std::wstring& name) {
  std::wstring self(MAX_PATH * 4, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return fs::path(self).parent_path() / name;
}

fs::path ToolExe() {
  // VEMOTOOL_EXE overrides the path the build put in: the 32-bit program, say.
  const std::wstring fromEnvironment = EnvironmentVariable(L"VEMOTOOL_EXE");
  return fromEnvironment.empty() ? HostPath(VEMO_TOOL_EXE) : fs::path(fromEnvironment);
}

Deadline StartDeadline() {
  return Deadline{VEMO_START_SECONDS * 1000};
}

fs::path BuiltFixExe() {
  return HostPath(VEMO_BUILT_FIX_EXE);
}

fs::path FixExe() {
  // VEMOFIX_EXE overrides the path the build put in: the 32-bit program, say.
  const std::wstring fromEnvironment = EnvironmentVariable(L"VEMOFIX_EXE");
  return fromEnvironment.empty() ? HostPath(VEMO_FIX_EXE) : fs::path(fromEnvironment);
}

namespace {

std::wstring Decoded(const std::string& bytes) {
  if (bytes.empty()) return L"";
  const int size = static_cast<int>(bytes.size());
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), size)));
  return text;
}

}  // namespace

// Runs `exe` with `args` from `folder`, its output going to files, and waits for its end.
FixRun::FixRun(const fs::path& exe, const std::vector<std::wstring>& args, const fs::path& folder) {
  // Names of their own for every run: Wine may still hold the last run's files a moment.
  static int runs = 0;
  const std::wstring run = std::to_wstring(++runs);
  outPath_ = folder / (L"vemofix-out-" + run + L".txt");
  errPath_ = folder / (L"vemofix-err-" + run + L".txt");
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  UniqueFile out(CreateFileW(outPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  UniqueFile err(CreateFileW(errPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out || !err) {
    ADD_FAILURE() << "cannot create the output files";
    return;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.get();
  startup.hStdError = err.get();
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  for (const std::wstring& arg : args) commandLine += L" \"" + arg + L"\"";
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                      nullptr, folder.c_str(), &startup, &info)) {
    ADD_FAILURE() << "CreateProcessW failed with error " << GetLastError();
    return;
  }
  process_.reset(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
}

Finished FixRun::Finish() {
  Finished finished;
  if (!process_) return finished;
  const DWORD wait = static_cast<DWORD>((StartDeadline() + kFixRunWork).count());
  if (WaitForSingleObject(process_.get(), wait) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "vemofix.exe did not end";
    Kill();
  }
  GetExitCodeProcess(process_.get(), &finished.status);
  process_.reset();
  finished.out = Decoded(ReadBytes(outPath_));
  finished.err = Decoded(ReadBytes(errPath_));
  return finished;
}

bool FixRun::Kill() {
  if (!process_) return false;
  const bool killed = TerminateProcess(process_.get(), 99) != FALSE;
  WaitForSingleObject(process_.get(), 30000);
  DWORD status = 0;
  GetExitCodeProcess(process_.get(), &status);
  process_.reset();
  return killed && status == 99;
}

Finished RunToEnd(const fs::path& exe, const std::vector<std::wstring>& args,
                  const fs::path& folder) {
  return FixRun(exe, args, folder).Finish();
}

namespace {

// A program that an earlier test started and could not end (its driver died first) would
// make every later start a second instance, which ends at once: it is ended here.
void EndOrphanedPrograms() {
  for (const ProcessEntry& p : ProcessesNamed(L"vemotool.exe")) {
    if (Alive(p.parent)) continue;
    UniqueKernelHandle orphan(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.id));
    if (orphan && TerminateProcess(orphan.get(), 1))
      WaitForSingleObject(orphan.get(), static_cast<DWORD>(kWait.count()));
  }
}

}  // namespace

Workspace::Workspace(const std::wstring& program_name, const std::wstring& target_name) {
  EndOrphanedPrograms();
  root_ = testing::NewFolder((fs::temp_directory_path() / L"vemo-e2e-").wstring());
  program_ = root_ / program_name;
  target_ = root_ / L"target" / target_name;
  fs::create_directories(program_);
  fs::create_directories(target_);
  fs::copy_file(ToolExe(), exe());
}

Workspace::~Workspace() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(root_, ignored)) {
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // A program killed a moment ago may hold its exe a while longer.
  WaitUntil(
      [&] {
        std::error_code failed;
        fs::remove_all(root_, failed);
        return !failed;
      },
      Deadline{5000});
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<absent>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

std::string Row(std::string_view old_name, std::string_view new_name) {
  return std::string(old_name) + "," + std::string(new_name) + "\r\n";
}

std::string Entry(std::string_view name) {
  return "%BeginFont\r\nHandler:DirectoryHandler\r\nFontType:TrueType\r\nFontName:" +
         std::string(name) + "\r\nFamilyName:" + std::string(name) +
         "\r\nStyleName:Regular\r\nWritingScript:Japanese\r\n%EndFont\r\n\r\n";
}

std::string ListOf(std::initializer_list<std::string_view> names) {
  std::string list = "%!Adobe-FontList 1.13\r\n%Locale:0x411\r\n\r\n";
  for (auto name : names) list += Entry(name);
  return list;
}

std::string Renamed(std::string list, std::string_view old_name, std::string_view new_name) {
  const std::string key = "FontName:" + std::string(old_name);
  const size_t at = list.find(key);
  EXPECT_NE(std::string::npos, at) << "no entry " << key;
  if (at != std::string::npos) list.replace(at, key.size(), "FontName:" + std::string(new_name));
  return list;
}

HWND WaitForMainWindow(const Process& process) {
  HWND window = WaitForWindow(process.id(), L"", kMainCaption, StartDeadline());
  if (!window && !process.Running()) {
    char status[16];
    std::snprintf(status, sizeof status, "0x%08lX", process.ExitStatus());
    ADD_FAILURE() << "no main window: the program ended with status " << status
                  << " (Wine's own words, if any, are in the test's output)";
  } else if (!window) {
    ADD_FAILURE() << "no main window";
  }
  return window;
}

Running StartToMainWindow(const Workspace& workspace) {
  Running running{workspace.Start(), nullptr};
  running.window = WaitForMainWindow(running.process);
  for (HWND w : TopLevelWindows(running.process.id())) {
    if (ClassOf(w) == L"#32770") ADD_FAILURE() << "unexpected box: " << Utf8(Describe(w).text);
  }
  return running;
}

}  // namespace vemo::e2e
