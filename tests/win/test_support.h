// Helpers of the Win32 tests: a fresh folder under the user's temporary folder, removed with
// everything in it at the end; plain Win32 file helpers that do not go through the code under
// test; the runtime error number an action raises.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "platform/win32/handle.h"

namespace vemo::testing {

// Names of everything in `folder`, "." and ".." left out.
inline std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

inline void RemoveTree(const std::wstring& folder) {
  for (const std::wstring& name : NamesIn(folder)) {
    const std::wstring path = folder + L"\\" + name;
    if (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(path.c_str());
    }
  }
  ::RemoveDirectoryW(folder.c_str());
}

// A folder made now, for this test alone: `stem`, this process's id and the first number
// whose folder does not exist yet. Wine hands out the ids of ended processes again, and a
// run that was killed, or a file still mapped by an ended program, leaves its folder behind:
// a name of the id alone would meet that folder and its files.
inline std::wstring NewFolder(const std::wstring& stem) {
  const std::wstring prefix = stem + std::to_wstring(::GetCurrentProcessId()) + L"-";
  DWORD error = ERROR_ALREADY_EXISTS;
  for (int n = 1; n < 10000 && error == ERROR_ALREADY_EXISTS; ++n) {
    const std::wstring path = prefix + std::to_wstring(n);
    if (::CreateDirectoryW(path.c_str(), nullptr)) return path;
    error = ::GetLastError();
  }
  ADD_FAILURE() << "cannot make a folder " << prefix << "N: error " << error;
  return prefix + L"0";
}

class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    EXPECT_GT(length, 0u);
    path_ = NewFolder(std::wstring(temp, length) + L"vemo-win-tests-");
  }
  ~TempFolder() { RemoveTree(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  std::vector<std::wstring> Names() const { return NamesIn(path_); }

 private:
  std::wstring path_;
};

// The file opened as another program would hold it, until the handle goes.
inline UniqueFile Hold(const std::wstring& path, DWORD access, DWORD share) {
  UniqueFile file(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(file) << "cannot hold the file: " << ::GetLastError();
  return file;
}

inline void WriteBytes(const std::wstring& path, std::string_view bytes,
                       DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "create failed: " << ::GetLastError();
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  ASSERT_TRUE(ok && written == bytes.size());
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes)) << ::GetLastError();
}

inline std::string ReadBytes(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  ::CloseHandle(file);
  return bytes;
}

// 0 when the action raises nothing.
std::int32_t ErrorOf(auto&& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace vemo::testing
