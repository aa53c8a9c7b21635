// The registry through advapi32's wide calls.
#pragma once

#include "platform/registry.h"

namespace vemo {

// Keys are opened in the registry's native view: a 32-bit program on 64-bit Windows adds
// KEY_WOW64_64KEY, so that it reads the keys where Windows keeps them. Names go to RegOpenKeyExW
// and RegQueryValueExW as UTF-16; the data of a text value comes back as the UTF-16LE bytes the
// registry stores, so no code page stands between a path in the registry and the program that
// starts it.
class Win32Registry : public Registry {
 public:
  std::int32_t OpenKey(RegistryRoot root, const std::wstring& subKey, std::uint32_t access,
                       RegistryKey& key) override;
  std::int32_t QueryValue(RegistryKey key, const std::wstring& valueName, std::uint32_t& type,
                          std::byte* data, std::uint32_t& size) override;
  void CloseKey(RegistryKey key) override;
};

}  // namespace vemo
