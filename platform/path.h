// Paths as text, on every system: "\" and "/" both separate.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

// The folder part of `path`, without a separator at its end except at a root ("C:\", "\",
// "/"); a UNC share ("\\server\share") stays as it is. Empty for a bare name.
std::wstring FolderOfPath(std::wstring_view path);

// folder & separator & name, without doubling the separator a folder ends in ("C:\", "/").
// The same text with ASCII letters compared without their case, as Windows compares the
// names of files and folders written in ASCII.
bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name, wchar_t separator = L'\\');

}  // namespace vemo
