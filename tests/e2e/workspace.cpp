#include "tests/e2e/workspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace vemo::e2e {
namespace fs = std::filesystem;

fs::path ToolExe() {
  // VEMOTOOL_EXE overrides the path the build put in, e.g. to try an older program.
  wchar_t from_environment[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"VEMOTOOL_EXE", from_environment, MAX_PATH) > 0) {
    return from_environment;
  }
  return HostPath(VEMO_TOOL_EXE);
}

fs::path HostPath(std::string path) {
  // The build passes a Unix path when cross-compiling: under Wine that is drive Z:.
  if (!path.empty() && path.front() == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return fs::path(std::wstring(path.begin(), path.end()));
}

Workspace::Workspace(const std::wstring& program_name, const std::wstring& target_name) {
  static int counter = 0;
  root_ = fs::temp_directory_path() / (L"vemo-e2e-" + std::to_wstring(GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(++counter));
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
  fs::remove_all(root_, ignored);
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

Running StartToMainWindow(const Workspace& workspace) {
  Running running{workspace.Start(), nullptr};
  running.window = WaitForWindow(running.process.id(), L"", kMainCaption);
  EXPECT_NE(running.window, nullptr) << "no main window";
  for (HWND w : TopLevelWindows(running.process.id())) {
    if (ClassOf(w) == L"#32770") ADD_FAILURE() << "unexpected box: " << Utf8(Describe(w).text);
  }
  return running;
}

}  // namespace vemo::e2e
