// An in-memory file system with failures on demand.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/runtime_error.h"

namespace vemo::testing {

class FakeFileSystem : public FileSystem {
 public:
  bool FileExists(const std::wstring& path) override {
    calls.push_back(L"exists " + path);
    return files.count(path) != 0;
  }
  void CopyWholeFile(const std::wstring& from, const std::wstring& to) override {
    calls.push_back(L"copy " + from + L" -> " + to);
    FailIfAsked(L"copy");
    files[to] = Existing(from);
  }
  std::string ReadWholeFile(const std::wstring& path) override {
    calls.push_back(L"read " + path);
    FailIfAsked(L"read");
    return Existing(path);
  }
  void ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override {
    calls.push_back(L"replace " + path);
    FailIfAsked(L"replace");
    Existing(path);
    files[path] = std::string(bytes);
  }

  std::map<std::wstring, std::string> files;
  std::vector<std::wstring> calls;               // "exists P", "copy A -> B", "read P", "replace P"
  std::map<std::wstring, std::int32_t> failures;  // operation ("copy", "read", "replace") -> error

 private:
  void FailIfAsked(const std::wstring& operation) {
    if (auto it = failures.find(operation); it != failures.end()) throw RuntimeError(it->second);
  }
  const std::string& Existing(const std::wstring& path) {
    auto it = files.find(path);
    if (it == files.end()) throw RuntimeError(err::kFileNotFound);
    return it->second;
  }
};

}  // namespace vemo::testing
