// Small helpers shared by the native tests of the table and the rewrite.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fontfix/font_table.h"
#include "fontfix/load_font_table.h"
#include "platform/runtime_error.h"

namespace vemo::testing {

// The runtime error number `action` raises, or 0.
inline std::int32_t ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

using Rows = std::vector<std::pair<std::string, std::string>>;

inline FontTable TableOf(const Rows& rows) {
  FontTable table;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    table.Set(static_cast<std::int32_t>(i + 1), 1, rows[i].first);
    table.Set(static_cast<std::int32_t>(i + 1), 2, rows[i].second);
  }
  return table;
}

// What ParseFontTable left behind, error included.
struct Parsed {
  FontTable table;
  std::int32_t count = -1;
  std::string display;
  std::int32_t error = 0;
};

inline Parsed Parse(std::string_view bytes) {
  Parsed p;
  p.error = ErrorOf([&] { p.display = ParseFontTable(bytes, p.table, p.count); });
  return p;
}

}  // namespace vemo::testing
