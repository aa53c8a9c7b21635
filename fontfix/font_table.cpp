#include "fontfix/font_table.h"

#include <utility>

#include "platform/runtime_error.h"

namespace vemo {

std::size_t FontTable::Index(std::int32_t row, std::int32_t column) {
  if (row < 1 || row > kRows || column < 1 || column > 2)
    throw RuntimeError(err::kSubscriptOutOfRange);
  return static_cast<std::size_t>(column - 1) * kRows + static_cast<std::size_t>(row - 1);
}

const std::string& FontTable::At(std::int32_t row, std::int32_t column) const {
  return cells_[Index(row, column)];
}

void FontTable::Set(std::int32_t row, std::int32_t column, std::string value) {
  cells_[Index(row, column)] = std::move(value);
}

void FontTable::Append(std::string current, std::string replacement) {
  ++fontCount_;
  Set(fontCount_, 1, std::move(current));
  Set(fontCount_, 2, std::move(replacement));
}

}  // namespace vemo
