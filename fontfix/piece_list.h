// The content being rewritten, as a linked list of pieces: views into the list as read, or
// into texts that replacements made. Each piece carries an order label, so that the place
// of two pieces can be compared without walking the list, and the marks that say where an
// applied row's entry starts and where that entry was in the list as read. Internal to the
// rewrite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fontfix/name_trie.h"
#include "fontfix/rewrite_font_list.h"

namespace vemo::rewrite {

struct Piece {
  std::string_view text;  // never empty
  std::uint64_t label;    // increases along the list
  std::int32_t prev;
  std::int32_t next;
  std::int32_t marks;  // first of the marks on this piece, or kNone
  bool occurrence;     // starts with a keyword at a character boundary
  bool alive;          // still in the list
};

// A place in the list, read forwards a byte at a time across pieces.
struct Cursor {
  std::int32_t piece;
  std::size_t offset;
};

// A mark that a replacement moves into its new text: `mark` goes to `offset` of that text.
struct MovedMark {
  std::int32_t mark;
  std::size_t offset;
};

class PieceList {
 public:
  explicit PieceList(std::uint64_t labelGap) : labelGap_(labelGap) {}

  const Piece& operator[](std::int32_t piece) const { return pieces_[Index(piece)]; }
  std::int32_t Head() const { return head_; }

  // Appends `text` at the end in pieces of about `pieceBytes`, each split just after a byte
  // that cannot lead a character, so that it falls on a boundary. Returns the first piece.
  std::int32_t Append(std::string_view text, bool occurrence, std::size_t pieceBytes);
  // Keeps a replacement's text for as long as the list or its result lives.
  std::string& NewText(std::string_view start) { return texts_.emplace_back(start); }
  // Takes the pieces from `from` up to, not including, `to` out of the list.
  void Remove(std::int32_t from, std::int32_t to);
  // Puts new pieces between `before` and `after`, one for each stretch of `text` up to each
  // of `ends`; each starts an occurrence. Returns them in order.
  std::vector<std::int32_t> Insert(std::string_view text, const std::vector<std::size_t>& ends,
                                   std::int32_t before, std::int32_t after);

  // Labels `made` between its neighbours; false when there is no room left between them.
  bool Label(const std::vector<std::int32_t>& made);
  // Spreads the labels of the whole list out again.
  void Relabel();

  int ByteAt(Cursor c) const;
  void Step(Cursor& c) const;
  // Reads the character at `c`, folded, into `folded`; returns its length, 0 at the end.
  std::size_t ReadFoldedChar(Cursor& c, unsigned char folded[2]) const;

  // Marks: a new one for `row`, whose entry was at `origin` of the list as read (kNoOffset
  // when a replacement wrote it); of no row (kNone), one that keeps the origin of an entry
  // that a replacement's text took in.
  std::int32_t NewMark(std::int32_t row, std::size_t origin);
  // Where the entry that starts `piece` was in the list as read (`content`): where the piece
  // views it, or what the mark of the last row at its start (or one of no row) says.
  std::size_t OriginOf(std::int32_t piece, std::string_view content) const;
  // The marks of `piece`, each with its offset from `start` added.
  void CollectMarks(std::int32_t piece, std::size_t start, std::vector<MovedMark>& out) const;
  // Puts `moved` onto `made`, pieces that hold `ends[i - 1]..ends[i]` of their text.
  void PlaceMarks(const std::vector<MovedMark>& moved, const std::vector<std::int32_t>& made,
                  const std::vector<std::size_t>& ends);

  // The pieces in order, the entries (the pieces that start an occurrence) with their lines
  // and the rows that replaced them, and the line and entry of every marked row in `result`.
  // `content` is the list as read. The list is spent.
  void Finish(std::string_view content, RewriteResult& result);

 private:
  struct Mark {
    std::int32_t row;    // 0-based; kNone for a mark that only keeps an origin
    std::size_t offset;  // into the piece that holds it
    std::int32_t next;   // the next mark on the same piece
    std::size_t origin;  // where its entry was in the list as read, or kNoOffset
  };

  static std::size_t Index(std::int32_t piece) { return static_cast<std::size_t>(piece); }
  std::int32_t Make(std::string_view text, bool occurrence);
  void Link(std::int32_t before, std::int32_t piece, std::int32_t after);

  std::uint64_t labelGap_;
  std::vector<Piece> pieces_;
  std::vector<Mark> marks_;
  std::deque<std::string> texts_;  // a deque never moves what it holds
  std::int32_t head_ = kNone;
  std::int32_t tail_ = kNone;
};

}  // namespace vemo::rewrite
