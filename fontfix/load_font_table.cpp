#include "fontfix/load_font_table.h"

#include "fontfix/table_encoding.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"

#include <utility>

namespace vemo {
namespace {

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
    while (end > start && IsBlank(bytes_[end - 1])) --end;
    SkipDelimiter();
    return std::string(bytes_.substr(start, end - start));
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
  static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
  bool AtEnd() const { return pos_ >= bytes_.size(); }

  void SkipBlanks() {
    while (!AtEnd() && IsBlank(bytes_[pos_])) ++pos_;
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

}  // namespace vemo
