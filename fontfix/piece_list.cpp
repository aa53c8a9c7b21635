#include "fontfix/piece_list.h"

#include <algorithm>
#include <limits>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace vemo::rewrite {
namespace {

// How many line ends `bytes` completes, CR LF, a lone CR and a lone LF each one, as the
// table's reader counts them (CR and LF are never part of a double-byte character). `afterCr`
// says whether the byte before them was a CR not counted yet, and is left so for the byte
// after them. Counted 16 bytes at a time where the processor has the instructions for it.
std::int64_t CountLineEnds(std::string_view bytes, bool& afterCr) {
  if (bytes.empty()) return 0;
  // A CR counted at its place ends a line only when the byte after it is no LF; so every
  // byte but the last is judged with the one after it, and a CR at the end waits.
  std::int64_t ends = afterCr && bytes.front() != '\n' ? 1 : 0;
  std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i zero = _mm_setzero_si128();
  __m128i counts = zero;  // per byte lane, at most 255 blocks before they are added up
  int blocks = 0;
  const auto addUp = [&] {
    const __m128i sums = _mm_sad_epu8(counts, zero);
    ends += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    counts = zero;
    blocks = 0;
  };
  for (; i + 17 <= bytes.size(); i += 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i + 1));
    const __m128i end =
        _mm_or_si128(_mm_cmpeq_epi8(here, lf),
                     _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(here, cr)));
    counts = _mm_sub_epi8(counts, end);
    if (++blocks == 255) addUp();
  }
  addUp();
#endif
  for (; i + 1 < bytes.size(); ++i)
    ends += bytes[i] == '\n' || (bytes[i] == '\r' && bytes[i + 1] != '\n') ? 1 : 0;
  ends += bytes.back() == '\n' ? 1 : 0;
  afterCr = bytes.back() == '\r';
  return ends;
}

// Reads the pieces on, in order, for the line of each position asked.
class LineCounter {
 public:
  explicit LineCounter(const std::vector<std::string_view>& pieces) : pieces_(&pieces) {}

  // The 1-based line that `position` of the whole list lies on. Positions come in order.
  std::int64_t LineAt(std::size_t position) {
    while (pos_ < position && index_ < pieces_->size()) {
      const std::string_view piece = (*pieces_)[index_];
      const std::size_t end = std::min(piece.size(), offset_ + (position - pos_));
      line_ += CountLineEnds(piece.substr(offset_, end - offset_), afterCr_);
      pos_ += end - offset_;
      offset_ = end;
      if (offset_ == piece.size()) {
        ++index_;
        offset_ = 0;
      }
    }
    // A CR just before `position` ends the line only if no LF follows it.
    const bool lfHere = index_ < pieces_->size() && (*pieces_)[index_][offset_] == '\n';
    return line_ + (afterCr_ && !lfHere ? 1 : 0);
  }

 private:
  const std::vector<std::string_view>* pieces_;
  std::size_t index_ = 0;   // the piece being read
  std::size_t offset_ = 0;  // into it
  std::size_t pos_ = 0;     // in the whole list
  std::int64_t line_ = 1;
  bool afterCr_ = false;  // the byte before `pos_` is a CR not yet counted
};

// A row's mark at its place in the rewritten list.
struct PlacedMark {
  std::size_t position;
  std::int32_t row;  // 0-based
  std::size_t origin;
};

// Gives each marked row its line and entry (the last entry that starts at or before the
// mark), each entry its line and rows, and each entry that a replacement wrote the place in
// the list as read of the entry that the last row marked at its start replaced.
void PlaceRows(std::vector<PlacedMark>& marks, RewriteResult& result) {
  std::sort(marks.begin(), marks.end(), [](const PlacedMark& a, const PlacedMark& b) {
    return a.position != b.position ? a.position < b.position : a.row < b.row;
  });
  std::vector<ListEntry>& entries = result.entries;
  std::vector<bool> written(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) written[i] = entries[i].original == kNoOffset;
  LineCounter lines(result.list.pieces);
  std::size_t next = 0;  // the first entry after the mark
  for (const PlacedMark& mark : marks) {
    for (; next < entries.size() && entries[next].offset <= mark.position; ++next)
      entries[next].line = lines.LineAt(entries[next].offset);
    // A mark past the entry's start is one whose own entry a replacement hid; of those at its
    // start, the last row's is the replacement that made the entry, and a mark of no row an
    // entry of the content that a replacement took in and a later one showed again.
    if (next > 0 && written[next - 1] && mark.position == entries[next - 1].offset)
      entries[next - 1].original = mark.origin;
    if (mark.row == kNone) continue;
    RowOutcome& outcome = result.rows[static_cast<std::size_t>(mark.row)];
    outcome.line = lines.LineAt(mark.position);
    if (next == 0) continue;
    outcome.entry = next - 1;
    entries[next - 1].rows.push_back(mark.row + 1);
  }
  for (; next < entries.size(); ++next) entries[next].line = lines.LineAt(entries[next].offset);
  for (ListEntry& entry : entries) std::sort(entry.rows.begin(), entry.rows.end());
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

std::int32_t PieceList::NewMark(std::int32_t row, std::size_t origin) {
  marks_.push_back(Mark{row, 0, kNone, origin});
  return static_cast<std::int32_t>(marks_.size() - 1);
}

std::size_t PieceList::OriginOf(std::int32_t piece, std::string_view content) const {
  const std::string_view text = (*this)[piece].text;
  if (text.data() >= content.data() && text.data() < content.data() + content.size())
    return static_cast<std::size_t>(text.data() - content.data());
  std::size_t origin = kNoOffset;
  std::int32_t lastRow = std::numeric_limits<std::int32_t>::min();
  for (std::int32_t m = (*this)[piece].marks; m != kNone; m = marks_[Index(m)].next) {
    const Mark& mark = marks_[Index(m)];
    if (mark.offset == 0 && mark.row > lastRow) {
      lastRow = mark.row;
      origin = mark.origin;
    }
  }
  return origin;
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

void PieceList::Finish(std::string_view content, RewriteResult& result) {
  std::size_t entries = 0;
  for (std::int32_t piece = head_; piece != kNone; piece = (*this)[piece].next)
    entries += (*this)[piece].occurrence ? 1 : 0;
  result.entries.reserve(entries);
  std::vector<PlacedMark> marks;
  marks.reserve(marks_.size());
  std::size_t size = 0;
  for (std::int32_t piece = head_; piece != kNone; piece = (*this)[piece].next) {
    const std::string_view text = (*this)[piece].text;
    if ((*this)[piece].occurrence) {
      const bool viewsContent =
          text.data() >= content.data() && text.data() < content.data() + content.size();
      result.entries.push_back(ListEntry{
          size,
          0,
          viewsContent ? static_cast<std::size_t>(text.data() - content.data()) : kNoOffset,
          {}});
    }
    for (std::int32_t m = (*this)[piece].marks; m != kNone; m = marks_[Index(m)].next) {
      const Mark& mark = marks_[Index(m)];
      marks.push_back(PlacedMark{size + mark.offset, mark.row, mark.origin});
    }
    // Neighbours that sit side by side in memory, as the untouched stretches of the content
    // do, become one piece.
    std::string_view* last = result.list.pieces.empty() ? nullptr : &result.list.pieces.back();
    if (last && last->data() + last->size() == text.data()) {
      *last = std::string_view(last->data(), last->size() + text.size());
    } else {
      result.list.starts.push_back(size);
      result.list.pieces.push_back(text);
    }
    size += text.size();
  }
  result.list.texts = std::move(texts_);
  PlaceRows(marks, result);
}

}  // namespace vemo::rewrite
