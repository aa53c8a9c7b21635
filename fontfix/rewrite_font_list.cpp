// RewriteFontList gives the result of the plain method (for each row, search the whole
// content from its start, replace the first match) without rescanning the content per row.
//
// Every match begins with "FontName:" at a character boundary, so the content is kept as a
// linked list of pieces that each begin at such an occurrence (or continue the text before
// the next one). A trie of the rows' folded names finds, once, which pieces each name
// matches; each name has a heap of those pieces ordered by position. A row takes the first
// piece that still matches, and its replacement rebuilds only the pieces it touched, the
// pieces whose characters it shifted, and the match lists of the pieces just before it
// whose names could run into it. The pieces are joined once at the end.
//
// For the per-row report, each applied row leaves a mark on the piece its replacement
// starts; a replacement that swallows a marked piece carries the mark into the pieces it
// makes, so at the join every mark has its place in the output, and one pass over the
// output turns places into line numbers.
#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <queue>
#include <utility>
#include <vector>

#include "fontfix/cp932.h"
#include "fontfix/fix_font_list.h"
#include "fontfix/rewrite_tuning.h"

namespace vemo {
namespace {

using cp932::IsLeadByte;
using cp932::IsTrailByte;

constexpr std::string_view kKeyword = "FontName:";
constexpr std::string_view kFoldedKeyword = "fontname:";
constexpr std::int32_t kNone = -1;

bool IsByteLead(int b) {
  return b >= 0 && IsLeadByte(static_cast<unsigned char>(b));
}
bool IsByteTrail(int b) {
  return b >= 0 && IsTrailByte(static_cast<unsigned char>(b));
}

// Whether `pos` starts a character of `text` walked from its start. A byte that cannot be a
// lead byte always ends a character, so the walk can start just after the last such byte.
bool IsCharBoundary(std::string_view text, std::size_t pos) {
  std::size_t start = pos;
  while (start > 0 && IsLeadByte(static_cast<unsigned char>(text[start - 1]))) --start;
  while (start < pos) start += cp932::CharLength(text, start);
  return start == pos;
}

bool IsKeywordAt(std::string_view text, std::size_t pos) {
  if (pos + kKeyword.size() > text.size()) return false;
  for (std::size_t i = 0; i < kKeyword.size(); ++i)
    if (cp932::FoldSingle(static_cast<unsigned char>(text[pos + i])) != kFoldedKeyword[i])
      return false;
  return true;
}

// The trie of the folded names (column 1) of the rows that take part. Its edges live in one
// open-addressing table, so that a step costs about one probe however many names share a
// prefix.
class NameTrie {
 public:
  NameTrie() : keys_(1), edges_(64) {}

  void Add(std::string_view foldedName, std::int32_t key) {
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
  }

  std::int32_t Child(std::int32_t node, unsigned char c) const {
    const std::uint64_t key = EdgeKey(node, c);
    for (std::size_t i = Slot(key);; i = (i + 1) & (edges_.size() - 1)) {
      if (edges_[i].key == key) return edges_[i].child;
      if (edges_[i].key == 0) return kNone;
    }
  }
  const std::vector<std::int32_t>& Keys(std::int32_t node) const { return keys_[node]; }

 private:
  struct Edge {
    std::uint64_t key = 0;  // 0: free
    std::int32_t child = kNone;
  };
  static std::uint64_t EdgeKey(std::int32_t node, unsigned char c) {
    return (static_cast<std::uint64_t>(node) << 8 | c) + 1;
  }
  std::size_t Slot(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> 32) & (edges_.size() - 1);
  }
  void Insert(std::uint64_t key, std::int32_t child) {
    if (2 * (++edgeCount_) > edges_.size()) {
      std::vector<Edge> old(edges_.size() * 2);
      old.swap(edges_);
      for (const Edge& e : old)
        if (e.key != 0) Place(e);
    }
    Place(Edge{key, child});
  }
  void Place(const Edge& edge) {
    std::size_t i = Slot(edge.key);
    while (edges_[i].key != 0) i = (i + 1) & (edges_.size() - 1);
    edges_[i] = edge;
  }

  std::vector<std::vector<std::int32_t>> keys_;  // by node: the names that end there
  std::vector<Edge> edges_;
  std::size_t edgeCount_ = 0;
};

class Rewriter {
 public:
  Rewriter(std::string_view content, const RewriteTuning& tuning, bool marking)
      : content_(content), tuning_(tuning), marking_(marking) {}

  // Returns the key of a folded name, the same key for names that fold alike.
  std::int32_t AddName(const std::string& name) {
    std::string folded = cp932::Folded(name);
    auto [it, added] = keys_.emplace(folded, static_cast<std::int32_t>(foldedKeys_.size()));
    if (added) {
      trie_.Add(folded, it->second);
      reach_ = std::max(reach_, kKeyword.size() + folded.size() + 1);
      foldedKeys_.push_back(std::string(kFoldedKeyword) + folded);
      heaps_.emplace_back();
    }
    return it->second;
  }

  // Splits the content into pieces at every occurrence of the keyword and files each
  // occurrence under the names that match it, while its bytes are still in the cache.
  void BuildIndex() {
    const std::size_t colonOffset = kKeyword.size() - 1;
    std::size_t start = 0;
    bool occurrence = false;  // whether `start` begins an occurrence
    for (std::size_t colon = content_.find(':', colonOffset); colon != std::string_view::npos;
         colon = content_.find(':', colon + 1)) {
      const std::size_t at = colon - colonOffset;
      if (!IsKeywordAt(content_, at) || !IsCharBoundary(content_, at)) continue;
      AppendInPieces(start, at, occurrence);
      start = at;
      occurrence = true;
      // The piece that AppendInPieces will make next begins at `at`.
      const auto seg = static_cast<std::int32_t>(segs_.size());
      const std::uint64_t label = LabelOfNewPiece(seg);
      WalkNames(content_.substr(at + kKeyword.size()),
                [&](std::int32_t key) { heaps_[key].emplace(label, seg); });
    }
    AppendInPieces(start, content_.size(), occurrence);
  }

  // False when no entry matches. `row` (0-based) names the mark the replacement leaves.
  bool Apply(std::int32_t key, std::string_view replacement, std::int32_t row) {
    const std::int32_t match = FirstMatch(key);
    if (match == kNone) return false;
    Replace(match, foldedKeys_[key].size(), replacement, row);
    return true;
  }

  // The output; with marks, also the line each marked row's entry starts on.
  std::string Join(std::vector<RowOutcome>* outcomes) const {
    std::size_t size = 0;
    for (std::int32_t seg = head_; seg != kNone; seg = segs_[seg].next)
      size += segs_[seg].text.size();
    std::string out;
    out.reserve(size);
    std::vector<std::pair<std::size_t, std::int32_t>> places;  // output position, row
    for (std::int32_t seg = head_; seg != kNone; seg = segs_[seg].next) {
      for (std::int32_t m = segs_[seg].marks; m != kNone; m = marks_[m].next)
        places.emplace_back(out.size() + marks_[m].offset, marks_[m].row);
      out += segs_[seg].text;
    }
    if (outcomes) NumberLines(out, places, *outcomes);
    return out;
  }

 private:
  // A piece of the content; never empty. Pieces start at character boundaries, and every
  // occurrence of the keyword at a boundary starts a piece with `occurrence` set.
  struct Segment {
    std::string_view text;
    std::uint64_t label;  // increases along the list
    std::int32_t prev;
    std::int32_t next;
    std::int32_t marks;  // first of the marks on this piece, or kNone
    bool occurrence;
    bool alive;
  };
  // Where an applied row's entry starts: `offset` bytes into the piece that holds it.
  struct Mark {
    std::int32_t row;
    std::size_t offset;
    std::int32_t next;  // the next mark on the same piece
  };
  struct Cursor {
    std::int32_t seg;
    std::size_t offset;
  };
  using Entry = std::pair<std::uint64_t, std::int32_t>;  // label, segment
  using Heap = std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>>;

  // Appends content_[start, end) as pieces of about tuning_.pieceBytes, each split just
  // after a byte that cannot lead a character, so that it falls on a boundary.
  void AppendInPieces(std::size_t start, std::size_t end, bool occurrence) {
    while (start < end) {
      std::size_t split = end;
      if (end - start > tuning_.pieceBytes) {
        std::size_t last = start + tuning_.pieceBytes - 1;
        while (last + 1 < end && IsLeadByte(static_cast<unsigned char>(content_[last]))) ++last;
        split = last + 1;
      }
      const std::int32_t seg = NewSegment(content_.substr(start, split - start), occurrence);
      segs_[seg].label = LabelOfNewPiece(seg);
      Link(tail_, seg, kNone);
      occurrence = false;
      start = split;
    }
  }

  std::uint64_t LabelOfNewPiece(std::int32_t seg) const {
    return tuning_.labelGap * (static_cast<std::uint64_t>(seg) + 1);
  }

  std::int32_t NewSegment(std::string_view text, bool occurrence) {
    segs_.push_back(Segment{text, 0, kNone, kNone, kNone, occurrence, true});
    return static_cast<std::int32_t>(segs_.size() - 1);
  }

  // Puts `seg` between `before` and `after` (either may be kNone).
  void Link(std::int32_t before, std::int32_t seg, std::int32_t after) {
    segs_[seg].prev = before;
    segs_[seg].next = after;
    if (before == kNone)
      head_ = seg;
    else
      segs_[before].next = seg;
    if (after == kNone)
      tail_ = seg;
    else
      segs_[after].prev = seg;
  }

  int ByteAt(Cursor c) const {
    return c.seg == kNone ? -1 : static_cast<unsigned char>(segs_[c.seg].text[c.offset]);
  }
  void Step(Cursor& c) const {
    if (++c.offset == segs_[c.seg].text.size()) c = Cursor{segs_[c.seg].next, 0};
  }
  // Reads the character at `c`, folded, into `folded`; returns its length, 0 at the end.
  std::size_t ReadFoldedChar(Cursor& c, unsigned char folded[2]) const {
    const int first = ByteAt(c);
    if (first < 0) return 0;
    Step(c);
    const int second = ByteAt(c);
    if (IsByteLead(first) && IsByteTrail(second)) {
      Step(c);
      const unsigned code =
          cp932::DoubleFolded(static_cast<unsigned>(first) << 8 | static_cast<unsigned>(second));
      folded[0] = static_cast<unsigned char>(code >> 8);
      folded[1] = static_cast<unsigned char>(code & 0xFF);
      return 2;
    }
    folded[0] = cp932::FoldSingle(static_cast<unsigned char>(first));
    return 1;
  }

  // Whether "FontName:" & the key's name matches, compared as characters, at `seg`.
  bool Matches(std::int32_t seg, std::int32_t key) const {
    const std::string& wanted = foldedKeys_[key];
    Cursor c{seg, 0};
    unsigned char folded[2];
    for (std::size_t done = 0; done < wanted.size();) {
      const std::size_t length = ReadFoldedChar(c, folded);
      if (length == 0 || done + length > wanted.size() ||
          std::memcmp(folded, wanted.data() + done, length) != 0)
        return false;
      done += length;
    }
    return true;
  }

  // Files `seg` under every name that matches at it.
  void IndexMatches(std::int32_t seg) {
    const std::string_view text = segs_[seg].text;
    // A piece longer than any comparison reads holds all it needs (the usual case).
    if (text.size() > reach_) {
      const std::uint64_t label = segs_[seg].label;
      return WalkNames(text.substr(kKeyword.size()),
                       [&](std::int32_t key) { heaps_[key].emplace(label, seg); });
    }
    Cursor c{seg, 0};
    for (std::size_t i = 0; i < kKeyword.size() && c.seg != kNone; ++i) Step(c);
    std::int32_t node = 0;
    unsigned char folded[2];
    for (;;) {
      const std::size_t length = ReadFoldedChar(c, folded);
      if (length == 0) return;
      for (std::size_t i = 0; i < length && node != kNone; ++i) node = trie_.Child(node, folded[i]);
      if (node == kNone) return;
      for (std::int32_t key : trie_.Keys(node)) heaps_[key].emplace(segs_[seg].label, seg);
    }
  }

  // Calls `found` with every name that matches the start of `text` (the bytes after a
  // keyword) as characters. Stops where no name goes on, or at the end of `text`.
  template <typename Found>
  void WalkNames(std::string_view text, Found&& found) const {
    std::int32_t node = 0;
    for (std::size_t pos = 0; pos < text.size();) {
      const std::size_t length = cp932::CharLength(text, pos);
      if (length == 1) {
        node = trie_.Child(node, cp932::FoldSingle(static_cast<unsigned char>(text[pos])));
      } else {
        const unsigned code =
            cp932::DoubleFolded(static_cast<unsigned>(static_cast<unsigned char>(text[pos])) << 8 |
                                static_cast<unsigned char>(text[pos + 1]));
        node = trie_.Child(node, static_cast<unsigned char>(code >> 8));
        if (node != kNone) node = trie_.Child(node, static_cast<unsigned char>(code & 0xFF));
      }
      if (node == kNone) return;
      for (std::int32_t key : trie_.Keys(node)) found(key);
      pos += length;
    }
  }

  std::int32_t FirstMatch(std::int32_t key) {
    Heap& heap = heaps_[key];
    while (!heap.empty()) {
      const auto [label, seg] = heap.top();
      if (segs_[seg].alive && segs_[seg].label == label && Matches(seg, key)) return seg;
      // Not a match now; should a later change make it one, that change files it again.
      heap.pop();
    }
    return kNone;
  }

  // Replaces the `keyLength` bytes at the start of `seg` with `replacement`.
  void Replace(std::int32_t seg, std::size_t keyLength, std::string_view replacement,
               std::int32_t row) {
    const std::int32_t before = segs_[seg].prev;
    std::int32_t last = seg;
    std::size_t rest = keyLength;
    while (rest > segs_[last].text.size()) {
      rest -= segs_[last].text.size();
      last = segs_[last].next;
    }
    std::string& text = storage_.emplace_back(replacement);
    text += segs_[last].text.substr(rest);
    std::int32_t after = segs_[last].next;
    // Marks on the replaced pieces move into `text`: one inside the key goes to the start of
    // the entry that overwrote it, one after the key keeps its distance from the key's end.
    std::vector<std::pair<std::int32_t, std::size_t>> moved;  // mark, offset in `text`
    std::size_t deadStart = 0;
    for (std::int32_t dead = seg; dead != after; dead = segs_[dead].next) {
      segs_[dead].alive = false;
      for (std::int32_t m = segs_[dead].marks; m != kNone; m = marks_[m].next) {
        const std::size_t at = deadStart + marks_[m].offset;
        moved.emplace_back(m, at < keyLength ? 0 : replacement.size() + at - keyLength);
      }
      deadStart += segs_[dead].text.size();
    }

    // Walk the new text. When its last byte turns out to lead a character whose trail byte
    // is the next piece's first, the characters after it have shifted: take that piece in.
    std::vector<std::size_t> starts;  // occurrence starts in `text`
    for (std::size_t pos = 0; pos < text.size();) {
      if (pos > 0 && IsKeywordAhead(text, pos, after)) starts.push_back(pos);
      if (pos + 1 == text.size() && IsLeadByte(static_cast<unsigned char>(text[pos])) &&
          IsByteTrail(ByteAt(Cursor{after, 0}))) {
        for (std::int32_t m = segs_[after].marks; m != kNone; m = marks_[m].next)
          moved.emplace_back(m, text.size() + marks_[m].offset);
        text += segs_[after].text;
        segs_[after].alive = false;
        after = segs_[after].next;
      }
      pos += cp932::CharLength(text, pos);
    }

    starts.push_back(text.size());
    std::vector<std::int32_t> created;
    std::size_t from = 0;
    for (std::size_t end : starts) {
      created.push_back(NewSegment(std::string_view(text).substr(from, end - from), true));
      from = end;
    }
    std::int32_t prev = before;
    for (std::int32_t piece : created) {
      Link(prev, piece, after);
      prev = piece;
    }
    if (marking_) {
      if (row != kNone) moved.emplace_back(NewMark(row), 0);
      for (const auto& [m, at] : moved) PlaceMark(m, created, starts, at);
    }
    if (!Label(created, before, after)) return RelabelAll();

    for (std::int32_t piece : created)
      if (segs_[piece].occurrence) IndexMatches(piece);
    // Names read from the pieces just before may now run into the new text.
    std::size_t distance = 0;
    for (std::int32_t p = before; p != kNone; p = segs_[p].prev) {
      distance += segs_[p].text.size();
      if (distance >= reach_) break;
      if (segs_[p].occurrence) IndexMatches(p);
    }
  }

  std::int32_t NewMark(std::int32_t row) {
    marks_.push_back(Mark{row, 0, kNone});
    return static_cast<std::int32_t>(marks_.size() - 1);
  }

  // Puts mark `m` at offset `at` of the replacement's text, which `created` holds in pieces
  // that end at `ends`.
  void PlaceMark(std::int32_t m, const std::vector<std::int32_t>& created,
                 const std::vector<std::size_t>& ends, std::size_t at) {
    std::size_t i = 0;
    while (at >= ends[i]) ++i;
    const std::int32_t piece = created[i];
    marks_[m].offset = at - (i == 0 ? 0 : ends[i - 1]);
    marks_[m].next = segs_[piece].marks;
    segs_[piece].marks = m;
  }

  // Line numbers, 1-based, counting CR LF, a lone CR and a lone LF as one line end each, as
  // the table's reader does; CR and LF are never part of a double-byte character.
  static void NumberLines(std::string_view out,
                          std::vector<std::pair<std::size_t, std::int32_t>>& places,
                          std::vector<RowOutcome>& outcomes) {
    std::sort(places.begin(), places.end());
    std::int64_t line = 1;
    std::size_t pos = 0;
    for (const auto& [at, row] : places) {
      for (; pos < at; ++pos)
        if (out[pos] == '\n' ||
            (out[pos] == '\r' && (pos + 1 == out.size() || out[pos + 1] != '\n')))
          ++line;
      outcomes[static_cast<std::size_t>(row)].line = line;
    }
  }

  // The keyword at `pos` of `text`, reading on into the pieces from `after` if needed.
  bool IsKeywordAhead(const std::string& text, std::size_t pos, std::int32_t after) const {
    Cursor c{after, 0};
    for (std::size_t i = 0; i < kKeyword.size(); ++i) {
      int b;
      if (pos + i < text.size()) {
        b = static_cast<unsigned char>(text[pos + i]);
      } else {
        b = ByteAt(c);
        if (b < 0) return false;
        Step(c);
      }
      if (cp932::FoldSingle(static_cast<unsigned char>(b)) != kFoldedKeyword[i]) return false;
    }
    return true;
  }

  // Spreads labels for `created` between its neighbours; false when there is no room.
  bool Label(const std::vector<std::int32_t>& created, std::int32_t before, std::int32_t after) {
    const std::uint64_t low = before == kNone ? 0 : segs_[before].label;
    const std::uint64_t count = created.size() + 1;
    const std::uint64_t high = after == kNone ? low + tuning_.labelGap * count : segs_[after].label;
    const std::uint64_t step = (high - low) / count;
    if (step == 0) return false;
    for (std::size_t i = 0; i < created.size(); ++i) segs_[created[i]].label = low + step * (i + 1);
    return true;
  }

  void RelabelAll() {
    std::uint64_t label = 0;
    for (std::int32_t seg = head_; seg != kNone; seg = segs_[seg].next)
      segs_[seg].label = label += tuning_.labelGap;
    for (Heap& heap : heaps_) heap = Heap();
    for (std::int32_t seg = head_; seg != kNone; seg = segs_[seg].next)
      if (segs_[seg].occurrence) IndexMatches(seg);
  }

  std::string_view content_;
  RewriteTuning tuning_;
  bool marking_;
  std::vector<Mark> marks_;
  std::map<std::string, std::int32_t> keys_;  // folded name -> key
  std::vector<std::string> foldedKeys_;       // "fontname:" & folded name, by key
  std::vector<Heap> heaps_;                   // by key
  NameTrie trie_;
  std::size_t reach_ = 0;  // bytes a key's comparison can read from where it starts
  std::vector<Segment> segs_;
  std::deque<std::string> storage_;  // text of the pieces made by replacements
  std::int32_t head_ = kNone;
  std::int32_t tail_ = kNone;
};

}  // namespace

std::string RewriteFontList(std::string_view content, const FontTable& table,
                            std::int32_t fontCount, const RewriteTuning& tuning,
                            std::vector<RowOutcome>* outcomes) {
  Rewriter rewriter(content, tuning, outcomes != nullptr);
  struct Row {
    std::int32_t index;  // 0-based
    std::int32_t key;
    std::string replacement;
  };
  std::vector<Row> rows;
  for (std::int32_t row = 1; row <= fontCount; ++row) {
    const std::string& current = table.At(row, 1);
    const std::string& replacement = table.At(row, 2);
    if (current.empty() || replacement.empty()) continue;
    rows.push_back(Row{row - 1, rewriter.AddName(current), std::string(kKeyword) + replacement});
  }
  if (outcomes) outcomes->assign(static_cast<std::size_t>(std::max(fontCount, 0)), RowOutcome{});
  if (rows.empty()) return std::string(content);
  rewriter.BuildIndex();
  for (const Row& row : rows) {
    const bool applied = rewriter.Apply(row.key, row.replacement, outcomes ? row.index : kNone);
    if (outcomes)
      (*outcomes)[static_cast<std::size_t>(row.index)].result =
          applied ? RowResult::kApplied : RowResult::kNotFound;
  }
  return rewriter.Join(outcomes);
}

std::string RewriteFontList(std::string_view content, const FontTable& table,
                            std::int32_t fontCount, std::vector<RowOutcome>* outcomes) {
  return RewriteFontList(content, table, fontCount, RewriteTuning{}, outcomes);
}

std::string RewriteFontList(std::string_view content, const FontTable& table,
                            std::int32_t fontCount) {
  return RewriteFontList(content, table, fontCount, RewriteTuning{}, nullptr);
}

}  // namespace vemo
