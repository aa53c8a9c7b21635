#include "fontfix/font_names.h"

#include <map>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

#include "fontfix/cp932.h"
#include "platform/codepage.h"
#include "platform/file_ranges.h"

namespace vemo {
namespace {

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kAppleTrue = 0x74727565;    // 'true'
constexpr std::uint32_t kOpenTypeCff = 0x4F54544F;  // 'OTTO'
constexpr std::uint32_t kCollection = 0x74746366;   // 'ttcf'
constexpr std::uint32_t kNameTag = 0x6E616D65;      // 'name'

// Everything a name table's records can reach lies within its first bytes: 6 bytes of
// header, 12 for each of at most 65535 records, and texts at a 16-bit offset from a 16-bit
// start, each at most 65535 bytes long. Only this much of a longer table is read.
constexpr std::uint64_t kNameTableReach = 6 + 12 * 65535 + 3 * 65535;

constexpr std::uint16_t kWindows = 3;
constexpr std::uint16_t kMacintosh = 1;
constexpr std::uint16_t kUnicode = 0;
constexpr std::uint16_t kWindowsJapanese = 0x0411;
constexpr std::uint16_t kWindowsEnglish = 0x0409;
constexpr std::uint16_t kMacJapanese = 11;

std::uint16_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) << 8 |
                                    static_cast<unsigned char>(b[at + 1]));
}
std::uint32_t U32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) << 16 | U16(b, at + 2);
}

// Thrown where a font file's bytes do not hold what they claim: the file is skipped, `why`.
struct FontRejected {
  FontSkip why;
};

struct Record {
  std::uint16_t platform;
  std::uint16_t encoding;
  std::uint16_t language;
  std::uint16_t id;
  std::string_view text;
};

bool IsUtf16(const Record& r) {
  return r.platform == kUnicode || r.platform == kWindows;
}

// The UTF-16BE text of a record; nothing when a character lies outside the basic plane,
// which CP932 cannot hold anyway. Raises FontRejected on an odd length and on a lone surrogate.
std::optional<std::wstring> Utf16Text(std::string_view bytes) {
  if (bytes.size() % 2 != 0) throw FontRejected{FontSkip::kOddUtf16Length};
  std::wstring text;
  bool outsideBasicPlane = false;
  for (std::size_t at = 0; at < bytes.size(); at += 2) {
    const std::uint16_t unit = U16(bytes, at);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const bool paired =
          at + 2 < bytes.size() && U16(bytes, at + 2) >= 0xDC00 && U16(bytes, at + 2) <= 0xDFFF;
      if (!paired) throw FontRejected{FontSkip::kLoneSurrogate};
      outsideBasicPlane = true;
      at += 2;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      throw FontRejected{FontSkip::kLoneSurrogate};
    } else {
      text += static_cast<wchar_t>(unit);
    }
  }
  if (outsideBasicPlane) return std::nullopt;
  return text;
}

// A record's text as CP932: UTF-16 converted exactly, Shift_JIS bytes as they are.
std::optional<std::string> Cp932Text(const Record& r) {
  if (!IsUtf16(r)) return std::string(r.text);
  const std::optional<std::wstring> text = Utf16Text(r.text);
  if (!text) return std::nullopt;
  return Cp932FromWideExactly(*text);
}

bool IsRegular(const std::string& style) {
  return cp932::Folded(style) == "regular" || style == "\x95\x57\x8F\x80";  // 標準
}

class NameTable {
 public:
  explicit NameTable(std::string bytes, std::uint64_t declaredLength) : bytes_(std::move(bytes)) {
    if (declaredLength < 6) throw FontRejected{FontSkip::kRecordCount};
    const std::uint16_t count = U16(bytes_, 2);
    const std::uint16_t storage = U16(bytes_, 4);
    if (6 + 12 * std::uint64_t{count} > declaredLength) throw FontRejected{FontSkip::kRecordCount};
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = 6 + 12 * i;
      const std::uint64_t start = std::uint64_t{storage} + U16(bytes_, at + 10);
      const std::uint16_t length = U16(bytes_, at + 8);
      if (start + length > declaredLength) throw FontRejected{FontSkip::kRecordPastEnd};
      records_.push_back(
          Record{U16(bytes_, at), U16(bytes_, at + 2), U16(bytes_, at + 4), U16(bytes_, at + 6),
                 std::string_view(bytes_).substr(static_cast<std::size_t>(start), length)});
    }
  }
  NameTable(const NameTable&) = delete;
  NameTable& operator=(const NameTable&) = delete;

  FaceNames Names() const {
    FaceNames names;
    names.postScript = PostScriptName();
    for (const auto& [platform, encoding, language] :
         {std::tuple{kWindows, std::uint16_t{1}, kWindowsJapanese},
          std::tuple{kMacintosh, std::uint16_t{1}, kMacJapanese}})
      AddJapanese(platform, encoding, language, names.japanese);
    return names;
  }

 private:
  // The text of the first record of `id` that `accept` takes, as CP932.
  template <typename Accept>
  std::optional<std::string> Text(std::uint16_t id, Accept accept) const {
    for (const Record& r : records_)
      if (r.id == id && accept(r)) return Cp932Text(r);
    return std::nullopt;
  }

  // Windows' English record first, then the Macintosh Roman one, then any other in UTF-16;
  // a Macintosh record only when it is ASCII, which reads the same in every encoding.
  std::string PostScriptName() const {
    const auto ascii = [](std::string_view text) {
      for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
      return true;
    };
    const std::optional<std::string> found = [&]() -> std::optional<std::string> {
      for (const Record& r : records_)
        if (r.id == 6 && r.platform == kWindows && r.encoding == 1 && r.language == kWindowsEnglish)
          return Cp932Text(r);
      for (const Record& r : records_)
        if (r.id == 6 && r.platform == kMacintosh && r.encoding == 0 && r.language == 0 &&
            ascii(r.text))
          return std::string(r.text);
      for (const Record& r : records_)
        if (r.id == 6 && IsUtf16(r)) return Cp932Text(r);
      return std::nullopt;
    }();
    return found.value_or(std::string());
  }

  void AddJapanese(std::uint16_t platform, std::uint16_t encoding, std::uint16_t language,
                   std::vector<std::string>& out) const {
    const auto text = [&](std::uint16_t id) {
      return Text(id, [&](const Record& r) {
        return r.platform == platform && r.encoding == encoding && r.language == language;
      });
    };
    const auto add = [&](const std::optional<std::string>& name) {
      if (!name || name->empty()) return;
      for (const std::string& known : out)
        if (known == *name) return;
      out.push_back(*name);
    };
    add(text(4));
    for (const auto& [family, style] : {std::pair{1, 2}, std::pair{16, 17}}) {
      const std::optional<std::string> familyName = text(static_cast<std::uint16_t>(family));
      const std::optional<std::string> styleName = text(static_cast<std::uint16_t>(style));
      add(familyName);
      if (familyName && styleName && !styleName->empty() && !IsRegular(*styleName))
        add(*familyName + " " + *styleName);
    }
  }

  std::string bytes_;
  std::vector<Record> records_;
};

class Reader {
 public:
  explicit Reader(OpenFile& file) : file_(file), size_(file.Size()) {}

  FontFileNames Read() {
    FontFileNames names;
    const std::uint32_t signature = U32(Bytes(0, 4, FontSkip::kNotAFont), 0);
    if (signature != kCollection) {
      if (!IsFaceSignature(signature)) throw FontRejected{FontSkip::kNotAFont};
      names.faces.push_back(Face(0));
      return names;
    }
    names.collection = true;
    const std::string header = Bytes(0, 12, FontSkip::kShort);
    const std::uint32_t count = U32(header, 8);
    if (count == 0 || count > kMaxFaces) throw FontRejected{FontSkip::kFaceCount};
    const std::string offsets = Bytes(12, 4 * std::uint64_t{count}, FontSkip::kShort);
    for (std::uint32_t face = 0; face < count; ++face) {
      names.faces.push_back(Face(U32(offsets, 4 * std::size_t{face})));
      names.faces.back().face = face;
    }
    return names;
  }

 private:
  static bool IsFaceSignature(std::uint32_t s) {
    return s == kTrueType || s == kAppleTrue || s == kOpenTypeCff;
  }

  // `length` bytes at `offset`, or FontRejected{why} when they are not all in the file.
  std::string Bytes(std::uint64_t offset, std::uint64_t length, FontSkip why) {
    if (offset > size_ || length > size_ - offset) throw FontRejected{why};
    std::string bytes = file_.Read(offset, static_cast<std::size_t>(length));
    if (bytes.size() != length) throw FontRejected{why};  // the file became shorter meanwhile
    return bytes;
  }

  // The names of the face whose table directory starts at `offset`. Faces of a collection
  // may share a directory or a name table: each is read once.
  FaceNames Face(std::uint64_t offset) {
    if (auto known = faces_.find(offset); known != faces_.end()) return known->second;
    const std::string head = Bytes(offset, 12, FontSkip::kShort);
    if (!IsFaceSignature(U32(head, 0))) throw FontRejected{FontSkip::kNotAFont};
    const std::uint16_t tables = U16(head, 4);
    const std::string directory = Bytes(offset + 12, 16 * std::uint64_t{tables}, FontSkip::kShort);
    for (std::size_t i = 0; i < tables; ++i) {
      if (U32(directory, 16 * i) != kNameTag) continue;
      const std::uint64_t at = U32(directory, 16 * i + 8);
      const std::uint64_t length = U32(directory, 16 * i + 12);
      if (at > size_ || length > size_ - at) throw FontRejected{FontSkip::kPastEnd};
      return faces_[offset] = NameTableAt(at, length);
    }
    throw FontRejected{FontSkip::kNoNameTable};
  }

  FaceNames NameTableAt(std::uint64_t at, std::uint64_t length) {
    if (auto known = tables_.find(at); known != tables_.end() && known->second.first == length)
      return known->second.second;
    const std::uint64_t read = length < kNameTableReach ? length : kNameTableReach;
    const NameTable table(Bytes(at, read, FontSkip::kPastEnd), length);
    tables_[at] = {length, table.Names()};
    return tables_[at].second;
  }

  OpenFile& file_;
  std::uint64_t size_;
  std::map<std::uint64_t, FaceNames> faces_;                             // by offset
  std::map<std::uint64_t, std::pair<std::uint64_t, FaceNames>> tables_;  // by offset
};

}  // namespace

FontFileNames ReadFontNames(OpenFile& file) {
  try {
    return Reader(file).Read();
  } catch (const FontRejected& skip) {
    FontFileNames skipped;
    skipped.skip = skip.why;
    return skipped;
  }
}

}  // namespace vemo
