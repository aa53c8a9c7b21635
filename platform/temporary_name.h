// How a temporary file beside a file is named, on every system: target & ".vemo-" & process
// id & ["-" & attempt] & ".tmp". A run killed half-way leaves one behind; the next run finds
// it by the same pattern.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

inline constexpr std::string_view kTemporaryInfix = ".vemo-";
inline constexpr std::string_view kTemporarySuffix = ".tmp";

// What the temporary's name adds to the target's name, in ASCII.
inline std::string TemporaryNameSuffix(unsigned long processId, int attempt) {
  std::string suffix(kTemporaryInfix);
  suffix.append(std::to_string(processId));
  if (attempt > 0) suffix.append("-").append(std::to_string(attempt));
  return suffix.append(kTemporarySuffix);
}

}  // namespace vemo
