#include "fontfix/table_file.h"

#include <memory>
#include <utility>

#include "fontfix/rewrite_font_list.h"
#include "fontfix/table_encoding.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"

namespace vemo {
namespace {

// A blank before or after a field of the table: the runtime's delimited-field input skips
// spaces and tabs, ASCII only (a full-width space is part of a name).
bool IsFieldBlank(char c) {
  return c == ' ' || c == '\t';
}

// Delimited-field input over the bytes of "Fonts.txt". Commas, quotes, blanks and line
// ends are ASCII, never a CP932 trail byte and never part of a UTF-8 sequence, so the bytes
// can be scanned one by one in either encoding and everything else is carried through.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

  // Skips lines that hold only blanks; true when a record follows.
  bool AtRecord() {
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return false;
      if (!SkipLineEnd()) return true;
    }
  }

  std::string ReadField() {
    SkipBlanks();
    if (AtEnd()) throw RuntimeError(err::kInputPastEndOfFile);
    if (bytes_[pos_] == '"') return ReadQuoted();
    const std::size_t start = pos_;
    while (!AtEnd() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
    std::size_t end = pos_;
    while (end > start && IsFieldBlank(bytes_[end - 1])) --end;
    SkipDelimiter();
    return std::string(bytes_.substr(start, end - start));
  }

 private:
  static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
  bool AtEnd() const { return pos_ >= bytes_.size(); }

  void SkipBlanks() {
    while (!AtEnd() && IsFieldBlank(bytes_[pos_])) ++pos_;
  }

  // CR LF, a lone CR or a lone LF.
  bool SkipLineEnd() {
    if (AtEnd() || !IsLineEnd(bytes_[pos_])) return false;
    if (bytes_[pos_++] == '\r' && !AtEnd() && bytes_[pos_] == '\n') ++pos_;
    return true;
  }

  // Consumes the comma or line end that closes a field, if any.
  void SkipDelimiter() {
    if (!AtEnd() && bytes_[pos_] == ',')
      ++pos_;
    else
      SkipLineEnd();
  }

  // Runs to the next quote, line ends included, or to the end of the input; whatever
  // follows the closing quote up to the delimiter is dropped.
  std::string ReadQuoted() {
    const std::size_t start = ++pos_;
    const std::size_t close = bytes_.find('"', start);
    const std::size_t end = close == std::string_view::npos ? bytes_.size() : close;
    pos_ = end == bytes_.size() ? end : end + 1;
    while (!AtEnd() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
    SkipDelimiter();
    return std::string(bytes_.substr(start, end - start));
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string ParseFontTable(std::string_view bytes, FontTable& table) {
  table.ResetCount();
  const bool utf8 = DetectTableEncoding(bytes) == TableEncoding::kUtf8;
  FieldReader reader(utf8 ? WithoutUtf8Bom(bytes) : bytes);
  // Names are converted field by field, so that a name CP932 cannot hold fails its own
  // record as a record cut short does: the rows before stay.
  const auto readName = [&] {
    std::string field = reader.ReadField();
    return utf8 ? Cp932FromUtf8(field) : field;
  };
  std::string display;
  while (reader.AtRecord()) {
    std::string current = readName();
    std::string replacement = readName();
    display += current;
    display += "  ";
    table.Append(std::move(current), std::move(replacement));
  }
  return display;
}

std::optional<std::string> LoadFontTable(const std::wstring& tablePath, FontTable& table,
                                         FileSystem& files) {
  table.ResetCount();
  if (!files.FileExists(tablePath)) return std::nullopt;
  return ParseFontTable(files.ReadWholeFile(tablePath), table);
}

namespace {

// A name as a field of the table, in its encoding; nothing when no field reads back as it.
std::optional<std::string> Field(const std::string& cp932, bool utf8) {
  std::string field = cp932;
  if (utf8) {
    std::optional<std::string> converted = Utf8FromCp932(cp932);
    if (!converted) return std::nullopt;
    field = std::move(*converted);
  }
  // The reader would drop a blank at either end of an unquoted field.
  const bool blankAtAnEnd =
      !field.empty() && (IsFieldBlank(field.front()) || IsFieldBlank(field.back()));
  if (blankAtAnEnd || field.starts_with('"') || field.find(',') != std::string::npos) {
    // A quoted field runs to the next quote: there is no way to write one inside it.
    if (field.find('"') != std::string::npos) return std::nullopt;
    field = '"' + field + '"';
  }
  return field;
}

// The line end the table uses: its first one, CR LF for CP932 and where it has none.
std::string LineEndOf(std::string_view bytes, bool utf8) {
  const std::size_t lf = bytes.find('\n');
  if (!utf8 || lf == std::string_view::npos || (lf > 0 && bytes[lf - 1] == '\r')) return "\r\n";
  return "\n";
}

struct Candidate {
  const NewRow* row;
  std::string bytes;  // the row with its line end
  RowAddition* result;
};

// The table as the next run reads it with the candidates' rows; nothing when it does not read
// back as its rows and theirs (its own last line swallows what follows it: a quote left open).
std::unique_ptr<FontTable> ReadBack(const std::string& bytes, const FontTable& table,
                                    const std::vector<Candidate>& candidates) {
  auto grown = std::make_unique<FontTable>();
  try {
    ParseFontTable(bytes, *grown);
  } catch (const RuntimeError&) {
    return nullptr;
  }
  const std::int32_t fontCount = table.FontCount();
  if (grown->FontCount() != fontCount + static_cast<std::int32_t>(candidates.size()))
    return nullptr;
  for (std::int32_t row = 1; row <= fontCount; ++row)
    if (grown->At(row, 1) != table.At(row, 1) || grown->At(row, 2) != table.At(row, 2))
      return nullptr;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const auto row = fontCount + static_cast<std::int32_t>(i) + 1;
    if (grown->At(row, 1) != candidates[i].row->current ||
        grown->At(row, 2) != candidates[i].row->replacement)
      return nullptr;
  }
  return grown;
}

// The rows to add as candidates: those whose names can be written as fields, while the table
// has room; the others get their result here.
std::vector<Candidate> CandidatesOf(const std::vector<NewRow>& rows,
                                    std::vector<RowAddition>& results, std::int32_t fontCount,
                                    bool utf8, const std::string& lineEnd) {
  std::vector<Candidate> candidates;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::optional<std::string> current = Field(rows[i].current, utf8);
    const std::optional<std::string> replacement = Field(rows[i].replacement, utf8);
    if (!current || !replacement)
      results[i].result = AddResult::kNotWritable;
    else if (fontCount + static_cast<std::int32_t>(candidates.size()) >= FontTable::kRows)
      results[i].result = AddResult::kTableFull;
    else
      candidates.push_back(
          Candidate{&rows[i], *current + "," + *replacement + lineEnd, &results[i]});
  }
  return candidates;
}

// The candidates whose row, in the grown table applied to the list, replaces their own entry;
// the others get the line of the entry they replace instead (0: none).
std::vector<Candidate> ReplacingTheirEntry(std::string_view list, const FontTable& grown,
                                           std::int32_t fontCount,
                                           const std::vector<Candidate>& candidates) {
  const RewriteResult rewrite = RewriteFontList(list, grown);
  std::vector<Candidate> kept;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const RowOutcome& outcome = rewrite.rows[static_cast<std::size_t>(fontCount) + i];
    const bool own = outcome.result == RowResult::kApplied &&
                     rewrite.entries[outcome.entry].original == candidates[i].row->entry;
    if (own) {
      kept.push_back(candidates[i]);
    } else {
      candidates[i].result->result = AddResult::kReplacesAnother;
      candidates[i].result->otherLine = outcome.result == RowResult::kApplied ? outcome.line : 0;
    }
  }
  return kept;
}

}  // namespace

TableAddition AppendRows(std::string_view tableBytes, const FontTable& table, std::string_view list,
                         const std::vector<NewRow>& rows) {
  TableAddition out;
  out.table = std::string(tableBytes);
  out.rows.assign(rows.size(), RowAddition{});
  const bool utf8 = DetectTableEncoding(tableBytes) == TableEncoding::kUtf8;
  const std::string lineEnd = LineEndOf(tableBytes, utf8);
  std::vector<Candidate> candidates =
      CandidatesOf(rows, out.rows, table.FontCount(), utf8, lineEnd);

  // Tried as a whole and checked as the next run reads and applies it; the rows that miss
  // their entry leave, and the rest are tried again.
  while (!candidates.empty()) {
    std::string bytes(tableBytes);
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += lineEnd;
    for (const Candidate& c : candidates) bytes += c.bytes;
    const std::unique_ptr<FontTable> grown = ReadBack(bytes, table, candidates);
    if (!grown) {
      for (const Candidate& c : candidates) c.result->result = AddResult::kNotWritable;
      break;
    }
    std::vector<Candidate> kept = ReplacingTheirEntry(list, *grown, table.FontCount(), candidates);
    if (kept.size() == candidates.size()) {
      out.table = std::move(bytes);
      out.added = kept.size();
      break;
    }
    candidates = std::move(kept);
  }
  return out;
}

}  // namespace vemo
