// The About dialog's system information button: where the system information program is
// found in the registry, and how it is started.
#pragma once

#include <string>

#include "platform/registry.h"

namespace vemo {

class FileSystem;
class Launcher;
class Ui;

// The one message for every way the system information program cannot be started.
inline constexpr wchar_t kSysInfoUnavailable[] = L"現時点ではｼｽﾃﾑ情報を使用できません";

// Size of the buffer a value is read into; a longer value counts as absent.
inline constexpr std::uint32_t kKeyValueBufferSize = 1024;

// Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` as text into `KeyVal`.
// True when the key was opened (for reading only) and the value read:
//  - a text value (REG_SZ) gives its text up to the first NUL;
//  - a 32-bit number (REG_DWORD) gives the unsigned number in decimal;
//  - any other type leaves `KeyVal` as it was.
// False, with `KeyVal` empty, when the key or the value is missing, cannot be read, or holds
// no NUL within the buffer (too long to be a path).
bool GetKeyValue(Registry& registry, RegistryRoot KeyRoot, const std::wstring& KeyName,
                 const std::wstring& SubKeyRef, std::wstring& KeyVal);

// Starts the system information program: the path in the first registry place as it stands,
// else MSINFO32.EXE in the folder of the second place when it exists. Reports every failure
// itself with kSysInfoUnavailable; nothing reaches the caller.
void StartSysInfo(Registry& registry, FileSystem& fileSystem, Launcher& launcher, Ui& ui);

}  // namespace vemo
