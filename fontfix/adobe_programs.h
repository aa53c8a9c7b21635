// Illustrator and Photoshop share the font list: while either runs it may write the list over
// again, so neither program writes Illustrator's files then.
#pragma once

#include <array>
#include <string_view>

#include "platform/running_programs.h"

namespace vemo {

// Their image names: Illustrator 8 to 10, and Photoshop.
inline constexpr std::array<std::wstring_view, 2> kAdobeImageNames{L"Illustrator.exe",
                                                                   L"Photoshp.exe"};

// What the window says then, and vemofix in Japanese.
inline constexpr wchar_t kAdobeRunningText[] =
    L"Illustrator または Photoshop が起動しています。終了させてから、もう一度実行してください。";

inline bool IllustratorOrPhotoshopRuns(RunningPrograms& programs) {
  return programs.AnyRunning(kAdobeImageNames);
}

}  // namespace vemo
