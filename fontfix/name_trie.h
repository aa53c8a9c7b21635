// The rows' folded names (column 1) as a trie, to find in one walk every name that matches
// the text after a "FontName:". Internal to the rewrite.
#pragma once

#include <bitset>
#include <string>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fontfix/cp932.h"

namespace vemo::rewrite {

inline constexpr std::int32_t kNone = -1;

class NameTrie {
 public:
  NameTrie();

  void Add(std::string_view foldedName, std::int32_t key);
  // Call once after the last Add and before MayMatch or Walk.
  void Seal();

  std::int32_t Child(std::int32_t node, unsigned char c) const;
  // The keys of the names that end at `node`.
  const std::vector<std::int32_t>& Keys(std::int32_t node) const { return keys_[node]; }

  // False only when no name can match the start of `text`. Most entries of a list match no
  // row, and this answers for them from one small bit table instead of a walk of the trie.
  bool MayMatch(std::string_view text) const;

  // Calls `found` with every name that matches the start of `text` (the bytes after a
  // keyword) as characters. Stops where no name goes on, or at the end of `text`.
  template <typename Found>
  void Walk(std::string_view text, Found&& found) const {
    if (!MayMatch(text)) return;
    std::int32_t node = 0;
    for (std::size_t pos = 0; pos < text.size();) {
      const std::size_t length = cp932::CharLength(text, pos);
      node = length == 1 ? Child(node, cp932::FoldSingle(static_cast<unsigned char>(text[pos])))
                         : DoubleChild(node, text, pos);
      if (node == kNone) return;
      for (std::int32_t key : keys_[node]) found(key);
      pos += length;
    }
  }

 private:
  struct Edge {
    std::uint64_t key = 0;  // 0: free
    std::int32_t child = kNone;
  };
  static constexpr std::size_t kFilterBits = std::size_t{1} << 16;
  // The filter looks at this many leading bytes at most: enough to tell apart names that
  // share a long common start, such as a family's names in all its weights.
  static constexpr std::size_t kFilterBytes = 64;

  std::int32_t DoubleChild(std::int32_t node, std::string_view text, std::size_t pos) const;
  static std::uint64_t EdgeKey(std::int32_t node, unsigned char c);
  std::size_t Slot(std::uint64_t key) const;
  void Insert(std::uint64_t key, std::int32_t child);
  void Place(const Edge& edge);
  // Hashes `bytes` folded; false when they are not all single-byte characters.
  static bool HashFolded(std::string_view bytes, std::uint64_t& hash);

  std::vector<std::vector<std::int32_t>> keys_;  // by node
  std::vector<Edge> edges_;                      // open addressing, a power of two long
  std::size_t edgeCount_ = 0;
  std::vector<std::string> names_;  // folded, for Seal
  // Bit i is set when some name's first filterLength_ folded bytes hash to i.
  std::bitset<kFilterBits> filter_;
  std::size_t filterLength_ = kFilterBytes;
};

}  // namespace vemo::rewrite
