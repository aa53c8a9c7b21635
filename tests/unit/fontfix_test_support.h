// Small helpers shared by the native tests of the table and the rewrite.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fontfix/font_table.h"
#include "fontfix/rewrite_font_list.h"
#include "fontfix/table_file.h"
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

// The rewritten list's bytes.
inline std::string Rewritten(std::string_view content, const FontTable& table,
                             const RewriteTuning& tuning = {}) {
  return RewriteFontList(content, table, tuning).list.Joined();
}

inline FontTable TableOf(const Rows& rows) {
  FontTable table;
  for (const auto& [current, replacement] : rows) table.Append(current, replacement);
  return table;
}

// Appends empty rows until the table counts `count`. Past row 1024 each append raises error
// 9, left out here: the count still rises, as it does at a table's 1025th record.
inline void AppendEmptyRows(FontTable& table, std::int32_t count) {
  for (std::int32_t row = table.FontCount() + 1; row <= count; ++row)
    (void)ErrorOf([&] { table.Append("", ""); });
}

// What ParseFontTable left behind, error included.
struct Parsed {
  FontTable table;
  std::string display;
  std::int32_t error = 0;
};

inline Parsed Parse(std::string_view bytes) {
  Parsed p;
  p.error = ErrorOf([&] { p.display = ParseFontTable(bytes, p.table); });
  return p;
}

}  // namespace vemo::testing
