#include "fontfix/piece_list.h"

#include <algorithm>

namespace vemo::rewrite {
namespace {

using Place = std::pair<std::size_t, std::int32_t>;  // output position, row

// Line numbers, 1-based, counting CR LF, a lone CR and a lone LF as one line end each, as
// the table's reader does; CR and LF are never part of a double-byte character. `places`
// is sorted.
void NumberLines(const std::vector<std::string_view>& pieces, const std::vector<Place>& places,
                 std::vector<RowOutcome>& outcomes) {
  std::int64_t line = 1;
  bool afterCr = false;  // the byte before `pos` is a CR not yet counted
  std::size_t pos = 0;
  auto next = places.begin();
  for (std::string_view piece : pieces) {
    for (std::size_t i = 0; i < piece.size() && next != places.end(); ++i, ++pos) {
      const char b = piece[i];
      if (afterCr && b != '\n') ++line;
      for (; next != places.end() && next->first == pos; ++next)
        outcomes[static_cast<std::size_t>(next->second)].line = line;
      afterCr = b == '\r';
      if (b == '\n') ++line;
    }
  }
}

}  // namespace

std::int32_t PieceList::Append(std::string_view text, bool occurrence, std::size_t pieceBytes) {
  const auto first = static_cast<std::int32_t>(pieces_.size());
  for (std::size_t start = 0; start < text.size();) {
    std::size_t split = text.size();
    if (split - start > pieceBytes) {
      std::size_t last = start + pieceBytes - 1;
      while (last + 1 < text.size() && cp932::IsLeadByte(static_cast<unsigned char>(text[last])))
        ++last;
      split = last + 1;
    }
    const std::int32_t piece = Make(text.substr(start, split - start), occurrence);
    pieces_[Index(piece)].label = tail_ == kNone ? labelGap_ : (*this)[tail_].label + labelGap_;
    Link(tail_, piece, kNone);
    occurrence = false;
    start = split;
  }
  return first;
}

void PieceList::Remove(std::int32_t from, std::int32_t to) {
  for (std::int32_t piece = from; piece != to; piece = (*this)[piece].next)
    pieces_[Index(piece)].alive = false;
}

std::vector<std::int32_t> PieceList::Insert(std::string_view text,
                                            const std::vector<std::size_t>& ends,
                                            std::int32_t before, std::int32_t after) {
  std::vector<std::int32_t> made;
  std::size_t from = 0;
  for (std::size_t end : ends) {
    made.push_back(Make(text.substr(from, end - from), true));
    Link(before, made.back(), after);
    before = made.back();
    from = end;
  }
  return made;
}

std::int32_t PieceList::Make(std::string_view text, bool occurrence) {
  pieces_.push_back(Piece{text, 0, kNone, kNone, kNone, occurrence, true});
  return static_cast<std::int32_t>(pieces_.size() - 1);
}

// Puts `piece` between `before` and `after` (either may be kNone).
void PieceList::Link(std::int32_t before, std::int32_t piece, std::int32_t after) {
  pieces_[Index(piece)].prev = before;
  pieces_[Index(piece)].next = after;
  if (before == kNone)
    head_ = piece;
  else
    pieces_[Index(before)].next = piece;
  if (after == kNone)
    tail_ = piece;
  else
    pieces_[Index(after)].prev = piece;
}

bool PieceList::Label(const std::vector<std::int32_t>& made) {
  const std::int32_t before = (*this)[made.front()].prev;
  const std::int32_t after = (*this)[made.back()].next;
  const std::uint64_t low = before == kNone ? 0 : (*this)[before].label;
  const std::uint64_t count = made.size() + 1;
  const std::uint64_t high = after == kNone ? low + labelGap_ * count : (*this)[after].label;
  const std::uint64_t step = (high - low) / count;
  if (step == 0) return false;
  for (std::size_t i = 0; i < made.size(); ++i)
    pieces_[Index(made[i])].label = low + step * (i + 1);
  return true;
}

void PieceList::Relabel() {
  std::uint64_t label = 0;
  for (std::int32_t piece = head_; piece != kNone; piece = (*this)[piece].next)
    pieces_[Index(piece)].label = label += labelGap_;
}

int PieceList::ByteAt(Cursor c) const {
  return c.piece == kNone ? -1 : static_cast<unsigned char>((*this)[c.piece].text[c.offset]);
}

void PieceList::Step(Cursor& c) const {
  if (++c.offset == (*this)[c.piece].text.size()) c = Cursor{(*this)[c.piece].next, 0};
}

std::size_t PieceList::ReadFoldedChar(Cursor& c, unsigned char folded[2]) const {
  const int first = ByteAt(c);
  if (first < 0) return 0;
  Step(c);
  const int second = ByteAt(c);
  if (cp932::IsLeadByte(static_cast<unsigned char>(first)) && second >= 0 &&
      cp932::IsTrailByte(static_cast<unsigned char>(second))) {
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

std::int32_t PieceList::NewMark(std::int32_t row) {
  marks_.push_back(Mark{row, 0, kNone});
  return static_cast<std::int32_t>(marks_.size() - 1);
}

void PieceList::CollectMarks(std::int32_t piece, std::size_t start,
                             std::vector<MovedMark>& out) const {
  for (std::int32_t m = (*this)[piece].marks; m != kNone; m = marks_[Index(m)].next)
    out.push_back(MovedMark{m, start + marks_[Index(m)].offset});
}

void PieceList::PlaceMarks(const std::vector<MovedMark>& moved,
                           const std::vector<std::int32_t>& made,
                           const std::vector<std::size_t>& ends) {
  for (const MovedMark& m : moved) {
    std::size_t i = 0;
    while (m.offset >= ends[i]) ++i;
    Mark& mark = marks_[Index(m.mark)];
    mark.offset = m.offset - (i == 0 ? 0 : ends[i - 1]);
    mark.next = (*this)[made[i]].marks;
    pieces_[Index(made[i])].marks = m.mark;
  }
}

RewrittenList PieceList::Finish(std::vector<RowOutcome>* outcomes) {
  RewrittenList result;
  std::vector<Place> places;
  std::size_t size = 0;
  for (std::int32_t piece = head_; piece != kNone; piece = (*this)[piece].next) {
    const std::string_view text = (*this)[piece].text;
    for (std::int32_t m = (*this)[piece].marks; m != kNone; m = marks_[Index(m)].next)
      places.emplace_back(size + marks_[Index(m)].offset, marks_[Index(m)].row);
    size += text.size();
    // Neighbours that sit side by side in memory, as the untouched stretches of the content
    // do, become one piece.
    std::string_view* last = result.pieces.empty() ? nullptr : &result.pieces.back();
    if (last && last->data() + last->size() == text.data())
      *last = std::string_view(last->data(), last->size() + text.size());
    else
      result.pieces.push_back(text);
  }
  if (outcomes) {
    std::sort(places.begin(), places.end());
    NumberLines(result.pieces, places, *outcomes);
  }
  result.texts = std::move(texts_);
  return result;
}

}  // namespace vemo::rewrite
