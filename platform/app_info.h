// The program's title and version: read by the C++ code and by the resource script,
// so this header holds nothing but preprocessor definitions outside the RC_INVOKED guard.
#pragma once

// "べもつーる", spelled as escapes so that every resource compiler reads it alike.
#define VEMO_TITLE L"\x3079\x3082\x3064\x30fc\x308b"

#define VEMO_VERSION_MAJOR 1
#define VEMO_VERSION_MINOR 2
#define VEMO_VERSION_BUILD 0
#define VEMO_VERSION_REVISION 3
#define VEMO_FILE_VERSION_TEXT "1.2.0.3"
// The version resources' copyright line: the project's licence, as LICENSE gives it.
#define VEMO_COPYRIGHT L"Copyright (c) 2026 \x3079\x3082\x3064\x30fc\x308b developers. MIT License."

#ifndef RC_INVOKED
namespace vemo::app_info {

inline constexpr wchar_t kTitle[] = VEMO_TITLE;
inline constexpr int kMajor = VEMO_VERSION_MAJOR;
inline constexpr int kMinor = VEMO_VERSION_MINOR;
inline constexpr int kRevision = VEMO_VERSION_REVISION;

}  // namespace vemo::app_info
#endif
