// An in-memory registry that behaves like the real one at the edges GetKeyValue meets: a
// value that does not fit gives kMoreData, a key may refuse the rights asked for, and every
// open, query and close is recorded.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vemo::testing {

struct FakeValue {
  std::uint32_t type = reg::kSz;
  std::vector<std::byte> data;
};

// UTF-16LE bytes of `text`, with the terminating NUL unless `withNul` is false.
inline std::vector<std::byte> Utf16Bytes(const std::wstring& text, bool withNul = true) {
  std::vector<std::byte> bytes;
  auto put = [&bytes](unsigned unit) {
    bytes.push_back(static_cast<std::byte>(unit & 0xFF));
    bytes.push_back(static_cast<std::byte>(unit >> 8));
  };
  for (wchar_t c : text) put(static_cast<unsigned>(c));
  if (withNul) put(0);
  return bytes;
}

inline FakeValue TextValue(const std::wstring& text, std::uint32_t type = reg::kSz) {
  return {type, Utf16Bytes(text)};
}

inline FakeValue DwordValue(std::uint32_t number) {
  FakeValue value{reg::kDword, {}};
  for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::byte>(number >> (8 * i)));
  return value;
}

struct FakeKey {
  std::map<std::wstring, FakeValue> values;
  // The rights this key grants; asking for more gives kAccessDenied.
  std::uint32_t grants = 0xF003F;  // KEY_ALL_ACCESS
};

class FakeRegistry : public Registry {
 public:
  std::int32_t OpenKey(RegistryRoot root, const std::wstring& subKey, std::uint32_t access,
                       RegistryKey& key) override {
    calls.push_back(L"open " + subKey);
    accessAsked.push_back(access);
    auto it = keys.find(subKey);
    if (root != RegistryRoot::kLocalMachine || it == keys.end()) return reg::kFileNotFound;
    if ((access & ~it->second.grants) != 0) return reg::kAccessDenied;
    key = nextKey_++;
    openKeys_[key] = subKey;
    return reg::kSuccess;
  }

  std::int32_t QueryValue(RegistryKey key, const std::wstring& valueName, std::uint32_t& type,
                          std::byte* data, std::uint32_t& size) override {
    calls.push_back(L"query " + openKeys_.at(key) + L" " + valueName);
    const FakeKey& fakeKey = keys.at(openKeys_.at(key));
    auto it = fakeKey.values.find(valueName);
    if (it == fakeKey.values.end()) return reg::kFileNotFound;
    const FakeValue& value = it->second;
    if (value.data.size() > size) {
      size = static_cast<std::uint32_t>(value.data.size());
      return reg::kMoreData;
    }
    type = value.type;
    std::copy(value.data.begin(), value.data.end(), data);
    size = static_cast<std::uint32_t>(value.data.size());
    return reg::kSuccess;
  }

  void CloseKey(RegistryKey key) override {
    calls.push_back(L"close " + openKeys_.at(key));
    openKeys_.erase(key);
  }

  std::size_t OpenKeyCount() const { return openKeys_.size(); }

  std::map<std::wstring, FakeKey> keys;  // below HKEY_LOCAL_MACHINE
  std::vector<std::wstring> calls;       // "open K", "query K V", "close K"
  std::vector<std::uint32_t> accessAsked;

 private:
  RegistryKey nextKey_ = 0x100;
  std::map<RegistryKey, std::wstring> openKeys_;
};

}  // namespace vemo::testing
