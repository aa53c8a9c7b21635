// Reading one registry value with its type. Plain numbers stand for the Win32 constants so
// that the code deciding on the values builds and is tested without Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vemo {

// The predefined root keys, with the values of their Win32 handles.
enum class RegistryRoot : std::uint32_t {
  kLocalMachine = 0x80000002,  // HKEY_LOCAL_MACHINE
};

namespace reg {
// Status codes (Win32 error codes).
inline constexpr std::int32_t kSuccess = 0;
inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kAccessDenied = 5;
inline constexpr std::int32_t kMoreData = 234;

// Access rights.
inline constexpr std::uint32_t kKeyRead = 0x20019;  // KEY_READ

// Value types.
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiSz = 7;
}  // namespace reg

// An open key, as the registry handed it out; 0 is no key.
using RegistryKey = std::uintptr_t;

// The wide (UTF-16) forms of the registry calls: names go in as interface text, and the data
// of a text value comes back as UTF-16LE bytes, as the registry stores it.
class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `subKey` below `root` with the rights `access`. Returns the status; on success
  // `key` is the open key, which the caller closes with CloseKey.
  virtual std::int32_t OpenKey(RegistryRoot root, const std::wstring& subKey, std::uint32_t access,
                               RegistryKey& key) = 0;
  // Reads the value `valueName` of `key` into `data`, which holds `size` bytes. Returns the
  // status: kMoreData when the value does not fit (the buffer's content is then undefined).
  // On success `type` is the value's type and `size` the number of bytes written.
  virtual std::int32_t QueryValue(RegistryKey key, const std::wstring& valueName,
                                  std::uint32_t& type, std::byte* data, std::uint32_t& size) = 0;
  virtual void CloseKey(RegistryKey key) = 0;
};

// Owns a key that Registry::OpenKey opened and closes it on every way out.
class UniqueRegistryKey {
 public:
  UniqueRegistryKey(Registry& registry, RegistryKey key) : registry_(registry), key_(key) {}
  ~UniqueRegistryKey() { registry_.CloseKey(key_); }
  UniqueRegistryKey(const UniqueRegistryKey&) = delete;
  UniqueRegistryKey& operator=(const UniqueRegistryKey&) = delete;

  RegistryKey get() const { return key_; }

 private:
  Registry& registry_;
  RegistryKey key_;
};

}  // namespace vemo
