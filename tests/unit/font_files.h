// Font files made in memory for the native tests: name tables of chosen records, and faces
// that hold one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vemo::testing::fonts {

inline std::string U16(std::uint32_t v) {
  return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}
inline std::string U32(std::uint32_t v) {
  return U16(v >> 16) + U16(v & 0xFFFF);
}
inline std::string Utf16(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += U16(c);
  return out;
}

struct Rec {
  std::uint16_t platform, encoding, language, id;
  std::string text;  // as stored
};
inline Rec Win(std::uint16_t id, std::u16string_view text, std::uint16_t language = 0x0411) {
  return {3, 1, language, id, Utf16(text)};
}

inline std::string NameTable(const std::vector<Rec>& records) {
  std::string head = U16(0) + U16(static_cast<std::uint32_t>(records.size())) +
                     U16(static_cast<std::uint32_t>(6 + 12 * records.size()));
  std::string storage;
  for (const Rec& r : records) {
    head += U16(r.platform) + U16(r.encoding) + U16(r.language) + U16(r.id) +
            U16(static_cast<std::uint32_t>(r.text.size())) +
            U16(static_cast<std::uint32_t>(storage.size()));
    storage += r.text;
  }
  return head + storage;
}

// One face whose directory starts at `base` of the file: a `glyf` stand-in and `name`.
inline std::string Face(const std::string& name, std::uint32_t base = 0,
                        std::uint32_t signature = 0x00010000) {
  const std::uint32_t data = base + 12 + 2 * 16;
  return U32(signature) + U16(2) + U16(32) + U16(1) + U16(0) + "glyf" + U32(0) + U32(data) +
         U32(4) + "name" + U32(0) + U32(data + 4) + U32(static_cast<std::uint32_t>(name.size())) +
         std::string(4, '\0') + name;
}

}  // namespace vemo::testing::fonts
