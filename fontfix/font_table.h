// The rename table: rows of (name registered now, name to register instead).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vemo {

// 1024 rows of two columns of CP932 bytes, stored column-major: all column-1 values,
// then all column-2 values. Rows are numbered 1..1024 and columns 1..2; any other number
// raises runtime error 9 (subscript out of range).
// The table also counts the rows its last load filled: rows 1..FontCount() are the ones in use.
class FontTable {
 public:
  static constexpr std::int32_t kRows = 1024;

  const std::string& At(std::int32_t row, std::int32_t column) const;
  void Set(std::int32_t row, std::int32_t column, std::string value);

  std::int32_t FontCount() const { return fontCount_; }
  // At the start of a load: no rows counted. The rows stored stay as they are.
  void ResetCount() { fontCount_ = 0; }
  // Counts one more row, then stores its two names there. A 1025th row raises error 9 with
  // the count at 1025 and nothing stored.
  void Append(std::string current, std::string replacement);

 private:
  static std::size_t Index(std::int32_t row, std::int32_t column);
  std::array<std::string, 2 * kRows> cells_;
  std::int32_t fontCount_ = 0;
};

}  // namespace vemo
