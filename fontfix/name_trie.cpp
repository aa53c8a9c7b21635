#include "fontfix/name_trie.h"

#include <algorithm>
#include <cstring>

namespace vemo::rewrite {

NameTrie::NameTrie() : keys_(1), edges_(64) {}

void NameTrie::Add(std::string_view foldedName, std::int32_t key) {
  std::int32_t node = 0;
  for (char c : foldedName) {
    std::int32_t next = Child(node, static_cast<unsigned char>(c));
    if (next == kNone) {
      next = static_cast<std::int32_t>(keys_.size());
      keys_.emplace_back();
      Insert(EdgeKey(node, static_cast<unsigned char>(c)), next);
    }
    node = next;
  }
  keys_[node].push_back(key);
  names_.emplace_back(foldedName);
}

void NameTrie::Seal() {
  for (const std::string& name : names_) filterLength_ = std::min(filterLength_, name.size());
  for (const std::string& name : names_) {
    std::uint64_t hash = 0;
    // A name with another byte among its first ones can only match text that the filter
    // lets through anyway.
    if (HashFolded(std::string_view(name).substr(0, filterLength_), hash))
      filter_.set(static_cast<std::size_t>(hash) & (kFilterBits - 1));
  }
  names_.clear();
}

// When the first filterLength_ bytes of `text` are all single-byte characters, a name that
// matches has exactly those bytes, folded, as its own first bytes; with any other byte among
// them the filter cannot tell, and says maybe.
bool NameTrie::MayMatch(std::string_view text) const {
  if (text.size() < filterLength_) return true;
  std::uint64_t hash = 0;
  if (!HashFolded(text.substr(0, filterLength_), hash)) return true;
  return filter_.test(static_cast<std::size_t>(hash) & (kFilterBits - 1));
}

namespace {

// The eight bytes at `bytes`, or fewer with zeros after them.
std::uint64_t Load(std::string_view bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes.data(), std::min(bytes.size(), sizeof word));
  return word;
}

constexpr std::uint64_t Every(unsigned char b) {
  return 0x0101010101010101u * b;
}

}  // namespace

// Eight bytes at a time: no byte may have its top bit set, and the capitals among them turn
// small (a byte from A to Z is the one that adding 0x3F lifts to 0x80 and adding 0x25 does
// not; no sum carries into the next byte below 0x80).
bool NameTrie::HashFolded(std::string_view bytes, std::uint64_t& hash) {
  hash = 0xCBF29CE484222325u;
  for (std::size_t at = 0; at < bytes.size(); at += 8) {
    const std::uint64_t word = Load(bytes.substr(at));
    if (word & Every(0x80)) return false;
    const std::uint64_t capitals = (word + Every(0x3F)) & ~(word + Every(0x25)) & Every(0x80);
    hash = (hash ^ (word | capitals >> 2)) * 0x100000001B3u;
    hash ^= hash >> 29;
  }
  return true;
}

std::int32_t NameTrie::Child(std::int32_t node, unsigned char c) const {
  const std::uint64_t key = EdgeKey(node, c);
  for (std::size_t i = Slot(key);; i = (i + 1) & (edges_.size() - 1)) {
    if (edges_[i].key == key) return edges_[i].child;
    if (edges_[i].key == 0) return kNone;
  }
}

std::int32_t NameTrie::DoubleChild(std::int32_t node, std::string_view text,
                                   std::size_t pos) const {
  const unsigned code =
      cp932::DoubleFolded(static_cast<unsigned>(static_cast<unsigned char>(text[pos])) << 8 |
                          static_cast<unsigned char>(text[pos + 1]));
  node = Child(node, static_cast<unsigned char>(code >> 8));
  return node == kNone ? kNone : Child(node, static_cast<unsigned char>(code & 0xFF));
}

std::uint64_t NameTrie::EdgeKey(std::int32_t node, unsigned char c) {
  return (static_cast<std::uint64_t>(node) << 8 | c) + 1;
}

// One open-addressing table holds every edge, so that a step costs about one probe however
// many names share a prefix.
std::size_t NameTrie::Slot(std::uint64_t key) const {
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> 32) & (edges_.size() - 1);
}

void NameTrie::Insert(std::uint64_t key, std::int32_t child) {
  if (2 * (++edgeCount_) > edges_.size()) {
    std::vector<Edge> old(edges_.size() * 2);
    old.swap(edges_);
    for (const Edge& e : old)
      if (e.key != 0) Place(e);
  }
  Place(Edge{key, child});
}

void NameTrie::Place(const Edge& edge) {
  std::size_t i = Slot(edge.key);
  while (edges_[i].key != 0) i = (i + 1) & (edges_.size() - 1);
  edges_[i] = edge;
}

}  // namespace vemo::rewrite
