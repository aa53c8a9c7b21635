// An in-memory file system with failures on demand.
#pragma once

#include <cstdint>
#include <map>
#include <span>
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
  std::string ReadWholeFile(const std::wstring& path) override {
    calls.push_back(L"read " + path);
    FailIfAsked(L"read");
    return Existing(path);
  }
  bool CreateWholeFile(const std::wstring& path, std::string_view bytes) override {
    calls.push_back(L"create " + path);
    FailIfAsked(L"create");
    return files.emplace(path, bytes).second;
  }
  void ReplaceWholeFile(const std::wstring& path,
                        std::span<const std::string_view> pieces) override {
    calls.push_back(L"replace " + path);
    FailIfAsked(L"replace");
    Existing(path);
    std::string joined;
    for (std::string_view piece : pieces) joined += piece;
    files[path] = joined;
  }
  using FileSystem::ReplaceWholeFile;
  void CreateFolders(const std::wstring& folder) override { calls.push_back(L"folders " + folder); }
  void AppendToFile(const std::wstring& path, std::string_view bytes) override {
    calls.push_back(L"append " + path);
    FailIfAsked(L"append");
    files[path] += bytes;
  }

  std::map<std::wstring, std::string> files;
  // "exists P", "read P", "create P", "replace P", "folders F", "append P"
  std::vector<std::wstring> calls;
  // operation ("read", "create", "replace", "append") -> error
  std::map<std::wstring, std::int32_t> failures;

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
