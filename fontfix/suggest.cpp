#include "fontfix/suggest.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "fontfix/cp932.h"
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

// A blank that a font's name may hold and the looser comparison leaves out: the space and the
// full-width space, wherever they are.
bool IsNameBlank(wchar_t c) {
  return c == L' ' || c == L'\u3000';
}

// The name as the looser comparison sees it: blanks left out, full-width ASCII and
// half-width katakana in their other width, hiragana as katakana, then letter case folded
// as the rewrite folds it.
std::string LooseKey(std::string_view cp932) {
  std::wstring text;
  for (wchar_t c : WideFromCp932(cp932)) {
    if (IsNameBlank(c)) continue;
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

// The "OutlineFileName:" value of the record each entry of `text` is in (the lines from a
// "%BeginFont" to an "%EndFont"), empty where there is none; by entry.
std::vector<std::string_view> RecordOutlines(std::string_view text,
                                             const std::vector<ListEntry>& entries) {
  std::vector<std::string_view> outlines(entries.size());
  std::size_t recordStart = 0;  // the first entry of the record being read
  std::size_t next = 0;         // the first entry after the lines read
  std::string_view outline;
  const auto closeRecord = [&] {
    for (std::size_t i = recordStart; i < next; ++i) outlines[i] = outline;
    recordStart = next;
    outline = {};
  };
  for (std::size_t pos = 0;;) {
    const std::string_view line = RestOfLine(text, pos);
    const std::size_t end = pos + line.size();
    if (line.starts_with("%BeginFont") || line.starts_with("%EndFont")) {
      closeRecord();
    } else if (line.starts_with("OutlineFileName:")) {
      outline = line.substr(16);
    }
    while (next < entries.size() && entries[next].offset < end) ++next;
    if (end == text.size()) break;
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  next = entries.size();
  closeRecord();
  return outlines;
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
void TakeFaces(std::vector<FaceRef> faces, EntrySuggestion& entry) {
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

std::vector<std::size_t> UnusableEntries(const RewriteResult& rewrite) {
  std::vector<std::size_t> unusable;
  for (std::size_t i = 0; i < rewrite.entries.size(); ++i)
    if (!IsPostScriptName(rewrite.ValueOf(rewrite.entries[i]))) unusable.push_back(i);
  return unusable;
}

Suggestions SuggestRows(const RewriteResult& rewrite, const FontSources& sources,
                        FileRanges& files) {
  // The entries as the table's rows leave them: an entry a row replaces needs no row, and a
  // row added later applies to the list after them.
  const std::string rewritten = rewrite.list.Joined();
  const std::vector<std::string_view> outlines = RecordOutlines(rewritten, rewrite.entries);
  Suggestions out;
  std::map<std::wstring, std::unique_ptr<FaceIndex>> outlineFiles;  // by path
  std::unique_ptr<FaceIndex> folders;
  for (std::size_t i = 0; i < rewrite.entries.size(); ++i) {
    const ListEntry& entry = rewrite.entries[i];
    const std::string_view value = EntryValueAt(rewritten, entry.offset);
    if (IsPostScriptName(value) || !entry.rows.empty()) continue;
    EntrySuggestion suggestion{i, entry.line, std::string(value), SuggestResult::kNone, {}};
    std::vector<FaceRef> faces;
    if (const std::wstring path = outlines[i].empty() ? L"" : sources.outlinePath(outlines[i]);
        !path.empty()) {
      std::unique_ptr<FaceIndex>& index = outlineFiles[path];
      if (!index) {
        index = std::make_unique<FaceIndex>(files, out);
        index->AddFile(path, true);
      }
      faces = index->Find(value);
    }
    if (faces.empty()) {
      if (!folders) {
        folders = std::make_unique<FaceIndex>(files, out);
        for (const std::wstring& folder : sources.folders)
          for (const std::wstring& path : files.FilesUnder(folder)) folders->AddFile(path);
      }
      faces = folders->Find(value);
    }
    TakeFaces(std::move(faces), suggestion);
    out.entries.push_back(std::move(suggestion));
  }
  return out;
}

}  // namespace vemo
