// RewriteFontList gives the result of the plain method (for each row, search the whole
// content from its start, replace the first match) without rescanning the content per row.
//
// Every match begins with "FontName:" at a character boundary, so the content is kept as a
// list of pieces (piece_list.h) that each begin at such an occurrence or continue the text
// before the next one. A trie of the rows' folded names (name_trie.h) finds, once, which
// pieces each name matches; each name has a heap of those pieces ordered by position. A row
// takes the first piece that still matches, and its replacement rebuilds only the pieces it
// touched, the pieces whose characters it shifted, and the match lists of the pieces just
// before it whose names could run into it.
//
// For the result, each applied row leaves a mark on the piece its replacement starts, with
// the place in the content of the entry it replaced; a replacement that swallows a marked
// piece carries the mark into the pieces it makes, so at the end every mark has its place in
// the output. The pieces that start an occurrence at the end are the entries of the output.
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <queue>

#include "fontfix/rewrite_font_list.h"

#include "fontfix/keyword_scan.h"
#include "fontfix/piece_list.h"

namespace vemo {
namespace {

using rewrite::Cursor;
using rewrite::kFoldedKeyword;
using rewrite::kKeyword;
using rewrite::kNone;
using rewrite::MovedMark;

// The new text of one replacement and where it goes: between `before` and `after`.
struct Splice {
  std::string* text;
  std::int32_t before;
  std::int32_t after;
  std::vector<MovedMark> moved;
};

class Rewriter {
 public:
  Rewriter(std::string_view content, const RewriteTuning& tuning)
      : content_(content), tuning_(tuning), pieces_(tuning.labelGap) {}

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
    trie_.Seal();
    std::size_t start = 0;
    bool occurrence = false;  // whether `start` begins an occurrence
    auto close = [&](std::size_t end) {
      const std::int32_t first =
          pieces_.Append(content_.substr(start, end - start), occurrence, tuning_.pieceBytes);
      if (occurrence) File(first, content_.substr(start + kKeyword.size()));
    };
    rewrite::ForEachKeyword(content_, [&](std::size_t at) {
      close(at);
      start = at;
      occurrence = true;
    });
    close(content_.size());
  }

  // False when no entry matches. `row` (0-based) names the mark the replacement leaves.
  bool Apply(std::int32_t key, std::string_view replacement, std::int32_t row) {
    const std::int32_t match = FirstMatch(key);
    if (match == kNone) return false;
    Replace(match, foldedKeys_[key].size(), replacement, row);
    return true;
  }

  void Finish(RewriteResult& result) { pieces_.Finish(content_, result); }

 private:
  using Entry = std::pair<std::uint64_t, std::int32_t>;  // label, piece
  using Heap = std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>>;

  // Files `piece` under every name that matches `text`, the bytes after its keyword.
  void File(std::int32_t piece, std::string_view text) {
    const std::uint64_t label = pieces_[piece].label;
    trie_.Walk(text, [&](std::int32_t key) { heaps_[key].emplace(label, piece); });
  }

  // Files `piece` under every name that matches at it, reading on into the pieces after it.
  void Refile(std::int32_t piece) {
    const std::string_view text = pieces_[piece].text;
    // A piece longer than any comparison reads holds all it needs (the usual case).
    if (text.size() > reach_) return File(piece, text.substr(kKeyword.size()));
    Cursor c{piece, 0};
    for (std::size_t i = 0; i < kKeyword.size() && c.piece != kNone; ++i) pieces_.Step(c);
    std::int32_t node = 0;
    unsigned char folded[2];
    while (const std::size_t length = pieces_.ReadFoldedChar(c, folded)) {
      for (std::size_t i = 0; i < length && node != kNone; ++i) node = trie_.Child(node, folded[i]);
      if (node == kNone) return;
      for (std::int32_t key : trie_.Keys(node)) heaps_[key].emplace(pieces_[piece].label, piece);
    }
  }

  // Whether "FontName:" & the key's name matches, compared as characters, at `piece`.
  bool Matches(std::int32_t piece, std::int32_t key) const {
    const std::string& wanted = foldedKeys_[key];
    Cursor c{piece, 0};
    unsigned char folded[2];
    for (std::size_t done = 0; done < wanted.size();) {
      const std::size_t length = pieces_.ReadFoldedChar(c, folded);
      if (length == 0 || done + length > wanted.size() ||
          std::memcmp(folded, wanted.data() + done, length) != 0)
        return false;
      done += length;
    }
    return true;
  }

  std::int32_t FirstMatch(std::int32_t key) {
    Heap& heap = heaps_[key];
    while (!heap.empty()) {
      const auto [label, piece] = heap.top();
      if (pieces_[piece].alive && pieces_[piece].label == label && Matches(piece, key))
        return piece;
      // Not a match now; should a later change make it one, that change files it again.
      heap.pop();
    }
    return kNone;
  }

  // Replaces the `keyLength` bytes at the start of `piece` with `replacement`.
  void Replace(std::int32_t piece, std::size_t keyLength, std::string_view replacement,
               std::int32_t row) {
    const std::size_t origin = pieces_.OriginOf(piece, content_);
    Splice splice = SwallowKey(piece, keyLength, replacement);
    const std::vector<std::size_t> ends = OccurrenceEnds(splice);
    const std::vector<std::int32_t> made =
        pieces_.Insert(*splice.text, ends, splice.before, splice.after);
    splice.moved.push_back(MovedMark{pieces_.NewMark(row, origin), 0});
    pieces_.PlaceMarks(splice.moved, made, ends);
    if (!pieces_.Label(made)) return RefileAll();
    for (std::int32_t p : made) Refile(p);
    RefileBefore(splice.before);
  }

  // Takes the pieces that hold the key out of the list; the new text is the replacement and
  // what followed the key in the last of them. Marks inside the key go to the start of the
  // entry that overwrote it; marks after the key keep their distance from its end.
  Splice SwallowKey(std::int32_t piece, std::size_t keyLength, std::string_view replacement) {
    std::int32_t last = piece;
    std::size_t rest = keyLength;
    while (rest > pieces_[last].text.size()) {
      rest -= pieces_[last].text.size();
      last = pieces_[last].next;
    }
    Splice splice{&pieces_.NewText(replacement), pieces_[piece].prev, pieces_[last].next, {}};
    *splice.text += pieces_[last].text.substr(rest);
    std::size_t start = 0;
    for (std::int32_t p = piece; p != splice.after; p = pieces_[p].next) {
      const std::size_t from = splice.moved.size();
      pieces_.CollectMarks(p, start, splice.moved);
      for (std::size_t i = from; i < splice.moved.size(); ++i) {
        std::size_t& at = splice.moved[i].offset;
        at = at < keyLength ? 0 : replacement.size() + at - keyLength;
      }
      start += pieces_[p].text.size();
    }
    pieces_.Remove(piece, splice.after);
    return splice;
  }

  // Where the pieces that the new text becomes end: at each keyword inside it, and at its
  // end. When the text ends in a lead byte whose trail byte is the next piece's first, the
  // characters after it have shifted: that piece joins the new text first.
  std::vector<std::size_t> OccurrenceEnds(Splice& splice) {
    const std::string& text = *splice.text;
    while (rewrite::IsCharBoundary(text, text.size() - 1) &&
           cp932::IsLeadByte(static_cast<unsigned char>(text.back())) && IsTrailAt(splice.after))
      TakeNext(splice);
    std::vector<std::size_t> ends;
    rewrite::ForEachKeyword(text, [&](std::size_t at) {
      if (at > 0) ends.push_back(at);
    });
    // A keyword that begins in the text's last bytes and goes on into the pieces after it.
    const std::size_t tail = text.size() < kKeyword.size() ? 1 : text.size() - kKeyword.size() + 1;
    for (std::size_t at = std::max<std::size_t>(tail, 1); at < text.size(); ++at)
      if (rewrite::IsCharBoundary(text, at) && IsKeywordAhead(text, at, splice.after))
        ends.push_back(at);
    ends.push_back(text.size());
    return ends;
  }

  bool IsTrailAt(std::int32_t piece) const {
    const int b = pieces_.ByteAt(Cursor{piece, 0});
    return b >= 0 && cp932::IsTrailByte(static_cast<unsigned char>(b));
  }

  void TakeNext(Splice& splice) {
    // An entry that the new text takes in keeps, in a mark of no row, where it was in the
    // content, should a later replacement show it again.
    if (pieces_[splice.after].occurrence) {
      const std::size_t origin = pieces_.OriginOf(splice.after, content_);
      if (origin != kNoOffset)
        splice.moved.push_back(MovedMark{pieces_.NewMark(kNone, origin), splice.text->size()});
    }
    pieces_.CollectMarks(splice.after, splice.text->size(), splice.moved);
    *splice.text += pieces_[splice.after].text;
    const std::int32_t next = pieces_[splice.after].next;
    pieces_.Remove(splice.after, next);
    splice.after = next;
  }

  // The keyword at `pos` of `text`, reading on into the pieces from `after` if needed.
  bool IsKeywordAhead(const std::string& text, std::size_t pos, std::int32_t after) const {
    Cursor c{after, 0};
    for (std::size_t i = 0; i < kKeyword.size(); ++i) {
      int b;
      if (pos + i < text.size()) {
        b = static_cast<unsigned char>(text[pos + i]);
      } else {
        b = pieces_.ByteAt(c);
        if (b < 0) return false;
        pieces_.Step(c);
      }
      if (cp932::FoldSingle(static_cast<unsigned char>(b)) != kFoldedKeyword[i]) return false;
    }
    return true;
  }

  // Names read from the pieces just before a replacement may now run into its text.
  void RefileBefore(std::int32_t before) {
    std::size_t distance = 0;
    for (std::int32_t p = before; p != kNone; p = pieces_[p].prev) {
      distance += pieces_[p].text.size();
      if (distance >= reach_) break;
      if (pieces_[p].occurrence) Refile(p);
    }
  }

  void RefileAll() {
    pieces_.Relabel();
    for (Heap& heap : heaps_) heap = Heap();
    for (std::int32_t p = pieces_.Head(); p != kNone; p = pieces_[p].next)
      if (pieces_[p].occurrence) Refile(p);
  }

  std::string_view content_;
  RewriteTuning tuning_;
  rewrite::PieceList pieces_;
  std::map<std::string, std::int32_t> keys_;  // folded name -> key
  std::vector<std::string> foldedKeys_;       // "fontname:" & folded name, by key
  std::vector<Heap> heaps_;                   // by key
  rewrite::NameTrie trie_;
  std::size_t reach_ = 0;  // bytes a key's comparison can read from where it starts
};

struct Row {
  std::int32_t index;  // 0-based
  std::int32_t key;
  std::string replacement;
};

// The rows that take part: both names non-empty. Raises error 9 at a row above 1024.
std::vector<Row> RowsOf(const FontTable& table, std::int32_t fontCount, Rewriter& rewriter) {
  std::vector<Row> rows;
  for (std::int32_t row = 1; row <= fontCount; ++row) {
    const std::string& current = table.At(row, 1);
    const std::string& replacement = table.At(row, 2);
    if (current.empty() || replacement.empty()) continue;
    rows.push_back(Row{row - 1, rewriter.AddName(current), std::string(kKeyword) + replacement});
  }
  return rows;
}

}  // namespace

RewriteResult RewriteFontList(std::string_view content, const FontTable& table,
                              const RewriteTuning& tuning) {
  const std::int32_t fontCount = table.FontCount();
  Rewriter rewriter(content, tuning);
  const std::vector<Row> rows = RowsOf(table, fontCount, rewriter);
  RewriteResult result;
  result.rows.assign(static_cast<std::size_t>(fontCount), RowOutcome{});
  rewriter.BuildIndex();
  for (const Row& row : rows) {
    result.rows[static_cast<std::size_t>(row.index)].result =
        rewriter.Apply(row.key, row.replacement, row.index) ? RowResult::kApplied
                                                            : RowResult::kNotFound;
  }
  rewriter.Finish(result);
  return result;
}

std::string RewrittenList::Joined() const {
  std::size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  std::string out;
  out.reserve(size);
  for (std::string_view piece : pieces) out += piece;
  return out;
}

std::string RewrittenList::RestOfLine(std::size_t offset) const {
  std::string out;
  // The piece that holds `offset`: the last one that starts at or before it.
  auto i = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), offset) -
                                    starts.begin());
  if (i == 0) return out;
  for (--i; i < pieces.size(); ++i) {
    const std::string_view rest = pieces[i].substr(offset - starts[i]);
    const std::size_t end = rest.find_first_of("\r\n");
    out += rest.substr(0, end);
    if (end != std::string_view::npos) break;
    offset = starts[i] + pieces[i].size();
  }
  return out;
}

std::string RewriteResult::ValueOf(const ListEntry& entry) const {
  return list.RestOfLine(entry.offset + kKeyword.size());
}

std::string RewriteResult::OriginalValueOf(const ListEntry& entry, std::string_view content) const {
  if (entry.original == kNoOffset) return ValueOf(entry);
  return std::string(EntryValueAt(content, entry.original));
}

std::string_view EntryValueAt(std::string_view text, std::size_t offset) {
  const std::string_view rest = text.substr(offset + kKeyword.size());
  return rest.substr(0, rest.find_first_of("\r\n"));
}

}  // namespace vemo
