#include "about/sys_info.h"

#include <array>
#include <cstddef>
#include <optional>

#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/launcher.h"
#include "platform/runtime_error.h"
#include "platform/ui.h"

namespace vemo {
namespace {

constexpr wchar_t kMsinfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kMsinfoValue[] = L"PATH";
constexpr wchar_t kLocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kLocationValue[] = L"MSINFO";
constexpr wchar_t kProgramFile[] = L"\\MSINFO32.EXE";

using ValueBuffer = std::array<std::byte, kKeyValueBufferSize>;

char32_t Utf16Unit(const ValueBuffer& buffer, std::size_t index) {
  return static_cast<char32_t>(std::to_integer<unsigned>(buffer[2 * index]) |
                               (std::to_integer<unsigned>(buffer[2 * index + 1]) << 8));
}

// The buffer's UTF-16LE text up to its first NUL; nothing when it holds none.
std::optional<std::wstring> TextUpToNul(const ValueBuffer& buffer) {
  std::wstring text;
  for (std::size_t i = 0; i < buffer.size() / 2; ++i) {
    char32_t unit = Utf16Unit(buffer, i);
    if (unit == 0) return text;
    if constexpr (sizeof(wchar_t) >= 4) {
      // Where wchar_t holds whole code points, a surrogate pair becomes one character.
      if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < buffer.size() / 2) {
        char32_t low = Utf16Unit(buffer, i + 1);
        if (low >= 0xDC00 && low < 0xE000) {
          unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    text.push_back(static_cast<wchar_t>(unit));
  }
  return std::nullopt;
}

std::uint32_t DwordOf(const ValueBuffer& buffer) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | std::to_integer<std::uint32_t>(buffer[i]);
  return value;
}

// Starts the whole path as one program, so that a folder with blanks never starts a shorter
// program that happens to match the path's first words.
void StartProgram(Launcher& launcher, const std::wstring& path) {
  launcher.Start(path, Quoted(path, CommandLineWord::kProgramName));
}

// False when neither place names a program; a failed start raises.
bool TryStartSysInfo(Registry& registry, FileSystem& fileSystem, Launcher& launcher) {
  std::wstring path;
  // The first place names the program itself and is trusted as it stands: no existence test.
  if (!GetKeyValue(registry, RegistryRoot::kLocalMachine, kMsinfoKey, kMsinfoValue, path)) {
    if (!GetKeyValue(registry, RegistryRoot::kLocalMachine, kLocationKey, kLocationValue, path)) {
      return false;
    }
    std::wstring candidate = path + kProgramFile;
    if (!fileSystem.FileExists(candidate)) return false;
    path = candidate;
  }
  StartProgram(launcher, path);
  return true;
}

}  // namespace

bool GetKeyValue(Registry& registry, RegistryRoot KeyRoot, const std::wstring& KeyName,
                 const std::wstring& SubKeyRef, std::wstring& KeyVal) {
  RegistryKey key = 0;
  if (registry.OpenKey(KeyRoot, KeyName, reg::kKeyRead, key) != reg::kSuccess) {
    KeyVal.clear();
    return false;
  }
  const UniqueRegistryKey open(registry, key);

  ValueBuffer buffer{};
  std::uint32_t type = reg::kNone;
  std::uint32_t size = kKeyValueBufferSize;
  if (registry.QueryValue(open.get(), SubKeyRef, type, buffer.data(), size) != reg::kSuccess) {
    KeyVal.clear();
    return false;
  }
  // The returned size is not trusted: the zero-filled buffer ends the text wherever the value
  // did not write, and a value that filled it without a NUL is too long to be a path.
  std::optional<std::wstring> text = TextUpToNul(buffer);
  if (!text) {
    KeyVal.clear();
    return false;
  }
  switch (type) {
    case reg::kSz:
      KeyVal = *text;
      break;
    case reg::kDword:
      KeyVal = std::to_wstring(DwordOf(buffer));
      break;
    default:
      break;
  }
  return true;
}

void StartSysInfo(Registry& registry, FileSystem& fileSystem, Launcher& launcher, Ui& ui) {
  bool started = false;
  try {
    started = TryStartSysInfo(registry, fileSystem, launcher);
  } catch (const RuntimeError&) {
    // A program that cannot be started is one more way of being unavailable: the user gets
    // the same message, not the error dialog.
  }
  if (!started) ui.ShowMessage(kSysInfoUnavailable, MessageStyle::kOkOnly);
}

}  // namespace vemo
