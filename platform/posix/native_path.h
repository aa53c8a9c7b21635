// Text and paths at the POSIX door. The portable interfaces take UTF-32 std::wstring paths
// (wchar_t is 32 bits here); the file system takes bytes, which are UTF-8 on the systems
// served. Bytes that are not UTF-8 survive a round trip as U+DC80..U+DCFF, so that any
// file name given on the command line still names the same file.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

// UTF-8 bytes, U+DC80..U+DCFF back to the byte they stand for.
std::string Utf8FromWide(std::wstring_view text);
// Invalid bytes become U+DC80..U+DCFF.
std::wstring WideFromUtf8(std::string_view bytes);
// Utf8FromWide with every "\" taken as a folder separator, as the Windows program takes it:
// paths built by the shared code ("folder\name") work here too.
std::string NativePath(std::wstring_view path);

}  // namespace vemo
