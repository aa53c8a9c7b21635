#include "fontfix/suggest.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "fontfix/cp932.h"
#include "fontfix/fix_font_list.h"
#include "fontfix/keyword_scan.h"
#include "fontfix/load_font_table.h"
#include "fontfix/table_encoding.h"
#include "platform/codepage.h"
#include "platform/file_ranges.h"
#include "platform/runtime_error.h"

namespace vemo {
namespace {

// Half-width katakana U+FF61..U+FF9F as their full-width forms.
constexpr std::wstring_view kFullWidthKana =
    L"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    L"マミムメモヤユヨラリルレロワン゛゜";

// A katakana with its voiced (゛) or semi-voiced (゜) mark, when it has one: ガ for カ゛.
wchar_t Voiced(wchar_t kana, wchar_t mark) {
  constexpr std::wstring_view kVoicable = L"カキクケコサシスセソタチツテトハヒフヘホ";
  constexpr std::wstring_view kSemiVoicable = L"ハヒフヘホ";
  if (mark == L'゛' && kana == L'ウ') return L'ヴ';
  if (mark == L'゛' && kVoicable.find(kana) != std::wstring_view::npos)
    return static_cast<wchar_t>(kana + 1);
  if (mark == L'゜' && kSemiVoicable.find(kana) != std::wstring_view::npos)
    return static_cast<wchar_t>(kana + 2);
  return 0;
}

// The name as the looser comparison sees it: blanks left out, full-width ASCII and
// half-width katakana in their other width, hiragana as katakana, then letter case folded
// as the rewrite folds it.
std::string LooseKey(std::string_view cp932) {
  std::wstring text;
  for (wchar_t c : WideFromCp932(cp932)) {
    if (c == L' ' || c == L'\u3000') continue;
    if (c >= 0xFF01 && c <= 0xFF5E) {
      c = static_cast<wchar_t>(c - 0xFEE0);
    } else if (c >= 0xFF61 && c <= 0xFF9F) {
      c = kFullWidthKana[static_cast<std::size_t>(c - 0xFF61)];
    } else if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) {
      c = static_cast<wchar_t>(c + 0x60);
    }
    if (!text.empty() && (c == L'゛' || c == L'゜'))
      if (const wchar_t voiced = Voiced(text.back(), c)) {
        text.back() = voiced;
        continue;
      }
    text += c;
  }
  return cp932::Folded(Cp932FromWideExactly(text).value_or(std::string(cp932)));
}

// The rest of the line from `pos`.
std::string_view RestOfLine(std::string_view text, std::size_t pos) {
  const std::size_t end = text.find_first_of("\r\n", pos);
  return text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos);
}

struct ListEntry {
  std::int64_t line;
  std::string_view value;
  std::string_view outline;  // the record's "OutlineFileName:" value; empty for none
};

// Every "FontName:" entry of `list` (found as the rewrite finds them), with its line and the
// "OutlineFileName:" of the record it is in: the lines from a "%BeginFont" to an "%EndFont".
std::vector<ListEntry> ListEntries(std::string_view list) {
  std::vector<std::size_t> keywords;
  rewrite::ForEachKeyword(list, [&](std::size_t at) { keywords.push_back(at); });
  std::vector<ListEntry> entries;
  std::size_t recordStart = 0;  // the first entry of the record being read
  std::string_view outline;
  const auto closeRecord = [&] {
    for (std::size_t i = recordStart; i < entries.size(); ++i) entries[i].outline = outline;
    recordStart = entries.size();
    outline = {};
  };
  auto next = keywords.begin();
  for (std::size_t pos = 0, line = 1;; ++line) {
    const std::string_view text = RestOfLine(list, pos);
    const std::size_t end = pos + text.size();
    if (text.starts_with("%BeginFont") || text.starts_with("%EndFont")) {
      closeRecord();
    } else if (text.starts_with("OutlineFileName:")) {
      outline = text.substr(16);
    }
    for (; next != keywords.end() && *next < end; ++next)
      entries.push_back(ListEntry{
          static_cast<std::int64_t>(line), RestOfLine(list, *next + rewrite::kKeyword.size()), {}});
    if (end == list.size()) break;
    pos = end + (list.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  closeRecord();
  return entries;
}

// The faces of font files, each file read once, and looked up by their Japanese names.
class FaceIndex {
 public:
  FaceIndex(FileRanges& files, Suggestions& out) : files_(files), out_(out) {}

  // A list often names files of another machine: with `mayBeMissing`, a file that is not
  // there is passed over without a word.
  void AddFile(const std::wstring& path, bool mayBeMissing = false) {
    std::unique_ptr<OpenFile> file;
    FontFileNames names;
    try {
      file = files_.Open(path);
      names = ReadFontNames(*file);
    } catch (const RuntimeError& error) {
      const bool missing =
          error.Number() == err::kFileNotFound || error.Number() == err::kPathNotFound;
      if (!(mayBeMissing && missing))
        out_.skipped.push_back(SkippedFont{path, FontSkip::kUnreadable, error.Number()});
      return;
    }
    if (names.skip == FontSkip::kNotAFont) return;
    if (names.skip != FontSkip::kNone) {
      out_.skipped.push_back(SkippedFont{path, names.skip, 0});
      return;
    }
    ++out_.fontFiles;
    for (const FaceNames& face : names.faces) {
      // A face without a name Illustrator can use gives nothing to write.
      if (!IsPostScriptName(face.postScript)) continue;
      const std::size_t index = faces_.size();
      faces_.push_back(FaceRef{path, face.face, names.collection, face.postScript});
      for (const std::string& name : face.japanese) {
        exact_[name].push_back(index);
        loose_[LooseKey(name)].push_back(index);
      }
    }
  }

  // The faces named `name` exactly, else loosely; nothing when none is.
  std::vector<FaceRef> Find(std::string_view name) const {
    const std::vector<std::size_t>* found = Lookup(exact_, std::string(name));
    if (!found) found = Lookup(loose_, LooseKey(name));
    std::vector<FaceRef> faces;
    if (found)
      for (std::size_t index : *found) faces.push_back(faces_[index]);
    return faces;
  }

 private:
  using Names = std::map<std::string, std::vector<std::size_t>>;  // name -> faces

  static const std::vector<std::size_t>* Lookup(const Names& names, const std::string& name) {
    const auto found = names.find(name);
    return found == names.end() ? nullptr : &found->second;
  }

  FileRanges& files_;
  Suggestions& out_;
  std::vector<FaceRef> faces_;
  Names exact_;
  Names loose_;
};

// The faces as a suggestion: the first face of each PostScript name.
void Decide(std::vector<FaceRef> faces, EntrySuggestion& entry) {
  std::set<std::string> names;
  for (FaceRef& face : faces)
    if (names.insert(face.postScript).second) entry.faces.push_back(std::move(face));
  entry.result = entry.faces.empty()       ? SuggestResult::kNone
                 : entry.faces.size() == 1 ? SuggestResult::kOne
                                           : SuggestResult::kSeveral;
}

}  // namespace

bool IsPostScriptName(std::string_view name) {
  if (name.empty() || name.size() > 127) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return c >= 0x21 && c <= 0x7E &&
           std::string_view("()<>[]{}/%").find(c) == std::string_view::npos;
  });
}

Suggestions SuggestRows(std::string_view list, const FontTable& table, const FontSources& sources,
                        FileRanges& files) {
  // The entries as the table's rows leave them: an entry a row replaces needs no row, and a
  // row added later applies to the list after them.
  std::vector<RowOutcome> outcomes;
  const std::string rewritten = RewriteFontList(list, table, &outcomes);
  std::set<std::int64_t> replaced;
  for (const RowOutcome& outcome : outcomes)
    if (outcome.result == RowResult::kApplied) replaced.insert(outcome.line);

  Suggestions out;
  std::map<std::wstring, std::unique_ptr<FaceIndex>> outlineFiles;  // by path
  std::unique_ptr<FaceIndex> folders;
  for (const ListEntry& entry : ListEntries(rewritten)) {
    if (IsPostScriptName(entry.value) || replaced.count(entry.line)) continue;
    EntrySuggestion suggestion{entry.line, std::string(entry.value), SuggestResult::kNone, {}};
    std::vector<FaceRef> faces;
    if (const std::wstring path = entry.outline.empty() ? L"" : sources.outlinePath(entry.outline);
        !path.empty()) {
      std::unique_ptr<FaceIndex>& index = outlineFiles[path];
      if (!index) {
        index = std::make_unique<FaceIndex>(files, out);
        index->AddFile(path, true);
      }
      faces = index->Find(entry.value);
    }
    if (faces.empty()) {
      if (!folders) {
        folders = std::make_unique<FaceIndex>(files, out);
        for (const std::wstring& folder : sources.folders)
          for (const std::wstring& path : files.FilesUnder(folder)) folders->AddFile(path);
      }
      faces = folders->Find(entry.value);
    }
    Decide(std::move(faces), suggestion);
    out.entries.push_back(std::move(suggestion));
  }
  return out;
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
  const bool blankAtEnd = !field.empty() && (field.front() == ' ' || field.front() == '\t' ||
                                             field.back() == ' ' || field.back() == '\t');
  if (blankAtEnd || field.starts_with('"') || field.find(',') != std::string::npos) {
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
  std::size_t entry;
  std::string row;  // the row's bytes with its line end
  RowAddition* result;
};

// The table as the next run reads it with the candidates' rows; nothing when it does not read
// back as its rows and theirs (its own last line swallows what follows it: a quote left open).
std::unique_ptr<FontTable> ReadBack(const std::string& bytes, const FontTable& table,
                                    const std::vector<Candidate>& rows,
                                    const Suggestions& suggestions) {
  auto grown = std::make_unique<FontTable>();
  try {
    ParseFontTable(bytes, *grown);
  } catch (const RuntimeError&) {
    return nullptr;
  }
  const std::int32_t fontCount = table.FontCount();
  if (grown->FontCount() != fontCount + static_cast<std::int32_t>(rows.size())) return nullptr;
  for (std::int32_t row = 1; row <= fontCount; ++row)
    if (grown->At(row, 1) != table.At(row, 1) || grown->At(row, 2) != table.At(row, 2))
      return nullptr;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const EntrySuggestion& entry = suggestions.entries[rows[i].entry];
    const auto row = fontCount + static_cast<std::int32_t>(i) + 1;
    if (grown->At(row, 1) != entry.name || grown->At(row, 2) != entry.faces.front().postScript)
      return nullptr;
  }
  return grown;
}

// The rows to add as candidates: those whose names can be written as fields, while the table
// has room; the others get their result here.
std::vector<Candidate> CandidatesOf(std::vector<RowAddition>& rows, const Suggestions& suggestions,
                                    std::int32_t fontCount, bool utf8, const std::string& lineEnd) {
  std::vector<Candidate> candidates;
  for (RowAddition& row : rows) {
    const EntrySuggestion& entry = suggestions.entries[row.entry];
    const std::optional<std::string> current = Field(entry.name, utf8);
    const std::optional<std::string> replacement = Field(entry.faces.front().postScript, utf8);
    if (!current || !replacement)
      row.result = AddResult::kNotWritable;
    else if (fontCount + static_cast<std::int32_t>(candidates.size()) >= FontTable::kRows)
      row.result = AddResult::kTableFull;
    else
      candidates.push_back(Candidate{row.entry, *current + "," + *replacement + lineEnd, &row});
  }
  return candidates;
}

// The candidates whose row, in the grown table applied to the list, replaces their own entry;
// the others get the entry they replace instead (0: none).
std::vector<Candidate> HittingTheirEntry(std::string_view list, const FontTable& grown,
                                         std::int32_t fontCount,
                                         const std::vector<Candidate>& candidates,
                                         const Suggestions& suggestions) {
  std::vector<RowOutcome> outcomes;
  (void)RewriteFontList(list, grown, &outcomes);
  std::vector<Candidate> kept;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const RowOutcome& outcome = outcomes[static_cast<std::size_t>(fontCount) + i];
    if (outcome.result == RowResult::kApplied &&
        outcome.line == suggestions.entries[candidates[i].entry].line) {
      kept.push_back(candidates[i]);
    } else {
      candidates[i].result->result = AddResult::kReplacesAnother;
      candidates[i].result->otherLine = outcome.result == RowResult::kApplied ? outcome.line : 0;
    }
  }
  return kept;
}

}  // namespace

TableAddition AddSuggestedRows(std::string_view tableBytes, const FontTable& table,
                               std::string_view list, const Suggestions& suggestions) {
  TableAddition out;
  out.table = std::string(tableBytes);
  const bool utf8 = DetectTableEncoding(tableBytes) == TableEncoding::kUtf8;
  const std::string lineEnd = LineEndOf(tableBytes, utf8);
  for (std::size_t i = 0; i < suggestions.entries.size(); ++i)
    if (suggestions.entries[i].result == SuggestResult::kOne)
      out.rows.push_back(RowAddition{i, AddResult::kAdded, 0});
  std::vector<Candidate> candidates =
      CandidatesOf(out.rows, suggestions, table.FontCount(), utf8, lineEnd);

  // Tried as a whole and checked as the next run reads and applies it; the rows that miss
  // their entry leave, and the rest are tried again.
  while (!candidates.empty()) {
    std::string bytes(tableBytes);
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += lineEnd;
    for (const Candidate& c : candidates) bytes += c.row;
    const std::unique_ptr<FontTable> grown = ReadBack(bytes, table, candidates, suggestions);
    if (!grown) {
      for (const Candidate& c : candidates) c.result->result = AddResult::kNotWritable;
      break;
    }
    std::vector<Candidate> kept =
        HittingTheirEntry(list, *grown, table.FontCount(), candidates, suggestions);
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
