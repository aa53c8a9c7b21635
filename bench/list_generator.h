// Realistic font lists for the benchmark: CP932 text with CR LF line ends, one
// %BeginFont ... %EndFont block of about 400 bytes per font, and a rename table whose rows
// match fonts spread through the list.
#pragma once

#include <cstdint>
#include <string>

#include "fontfix/font_table.h"

namespace vemo::bench {

struct GeneratedList {
  std::string list;       // the font list file's bytes
  FontTable table;        // 1024 rows, each matching one font of the list
  std::string tableText;  // the same table as "Fonts.txt" bytes
};

// The marker every replacement name starts with, to count the entries renamed.
inline constexpr const char* kRenamedMarker = "FontName:Fixed-";

GeneratedList GenerateList(std::int32_t entries, std::uint32_t seed = 20240611);

}  // namespace vemo::bench
