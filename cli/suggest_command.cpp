#include "cli/suggest_command.h"

#include <algorithm>
#include <memory>

#include "cli/texts.h"
#include "errors/report_error.h"
#include "fontfix/table_file.h"
#include "fontfix/suggest.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace vemo::cli {
namespace {

std::wstring SkipReason(const SkippedFont& skipped, const Texts& t) {
  switch (skipped.why) {
    case FontSkip::kShort:
      return t(L"the file ends inside its header or table directory",
               L"ヘッダーかテーブル一覧の途中でファイルが終わっています");
    case FontSkip::kPastEnd:
      return t(L"a face or the name table lies past the end of the file",
               L"フェイスか name テーブルがファイルの終わりより先にあります");
    case FontSkip::kNoNameTable:
      return t(L"a face has no name table", L"name テーブルのないフェイスがあります");
    case FontSkip::kRecordCount:
      return t(L"the name table is too short for its records",
               L"name テーブルがレコードの数に足りません");
    case FontSkip::kRecordPastEnd:
      return t(L"a name lies past the end of the name table",
               L"name テーブルの終わりより先にある名前があります");
    case FontSkip::kOddUtf16Length:
      return t(L"a UTF-16 name has an odd number of bytes",
               L"バイト数が奇数の UTF-16 の名前があります");
    case FontSkip::kLoneSurrogate:
      return t(L"a UTF-16 name has half of a surrogate pair",
               L"サロゲートペアの片方だけの UTF-16 の名前があります");
    case FontSkip::kFaceCount:
      return t(L"the collection has no faces or claims too many",
               L"コレクションのフェイスの数が 0 か、多すぎます");
    case FontSkip::kUnreadable:
      return ErrorMessageText(skipped.error);
    case FontSkip::kNone:
    case FontSkip::kNotAFont:
      break;
  }
  return t(L"not a TrueType or OpenType font", L"TrueType や OpenType のフォントではありません");
}

std::wstring FaceText(const FaceRef& face, const Texts& t) {
  std::wstring text = t(L"\"", L"「") + Shown(face.postScript) + t(L"\" (", L"」 (") + face.file;
  if (face.collection) text += t(L", face ", L"、フェイス ") + std::to_wstring(face.face);
  return text + L")";
}

std::wstring EntryText(const EntrySuggestion& entry, const Texts& t) {
  return t(L"line ", L"") + std::to_wstring(entry.line) + t(L": \"", L"行目「") +
         Shown(entry.name) + t(L"\"", L"」");
}

std::wstring SuggestionReport(const Suggestions& suggestions, const Texts& t) {
  std::wstring out;
  for (const SkippedFont& skipped : suggestions.skipped)
    out += t(L"font skipped: ", L"読めなかったフォント: ") + skipped.file + L": " +
           SkipReason(skipped, t) + L"\n";
  std::size_t counts[3] = {};
  for (const EntrySuggestion& entry : suggestions.entries) {
    out += EntryText(entry, t);
    ++counts[static_cast<int>(entry.result)];
    switch (entry.result) {
      case SuggestResult::kOne:
        out += t(L" -> ", L"→") + FaceText(entry.faces.front(), t) + L"\n";
        break;
      case SuggestResult::kNone:
        out += t(L": no font found\n", L": フォントが見つかりません\n");
        break;
      case SuggestResult::kSeveral:
        out += t(L": several fonts:\n", L": 候補が複数あります:\n");
        for (const FaceRef& face : entry.faces) out += L"  " + FaceText(face, t) + L"\n";
        break;
    }
  }
  return out + t(L"entries: ", L"候補1つ ") + std::to_wstring(counts[0]) +
         t(L" with one suggestion, ", L" 件、フォントなし ") + std::to_wstring(counts[1]) +
         t(L" without a font, ", L" 件、候補複数 ") + std::to_wstring(counts[2]) +
         t(L" with several (fonts read: ", L" 件 (読んだフォント: ") +
         std::to_wstring(suggestions.fontFiles) + t(L")\n", L" ファイル)\n");
}

// The rows to append: one for each entry with exactly one suggestion, in the list's order,
// and the suggestion each is for.
struct Proposed {
  std::vector<NewRow> rows;
  std::vector<const EntrySuggestion*> entries;
};

Proposed ProposedRows(const Suggestions& suggestions, const RewriteResult& rewrite) {
  Proposed proposed;
  for (const EntrySuggestion& entry : suggestions.entries) {
    if (entry.result != SuggestResult::kOne) continue;
    proposed.rows.push_back(NewRow{entry.name, entry.faces.front().postScript,
                                   rewrite.entries[entry.entry].original});
    proposed.entries.push_back(&entry);
  }
  return proposed;
}

std::wstring AdditionReport(const Proposed& proposed, const TableAddition& addition,
                            const std::wstring& tablePath, const Texts& t) {
  std::wstring out;
  for (std::size_t i = 0; i < addition.rows.size(); ++i) {
    const RowAddition& row = addition.rows[i];
    if (row.result == AddResult::kAdded) continue;
    out += t(L"not added, ", L"追加しなかった行: ") + EntryText(*proposed.entries[i], t) + L": ";
    switch (row.result) {
      case AddResult::kTableFull:
        out += t(L"the table has 1024 rows", L"対応表が 1024 行に達しています");
        break;
      case AddResult::kNotWritable:
        out += t(L"the name cannot be written in the table as it reads it",
                 L"この名前は対応表に読めるように書けません");
        break;
      case AddResult::kReplacesAnother:
        out += row.otherLine == 0
                   ? std::wstring(t(L"the row would replace no entry",
                                    L"この行で置換されるエントリがありません"))
                   : t(L"the row would replace the entry on line ", L"この行は先に ") +
                         std::to_wstring(row.otherLine) +
                         t(L" first", L" 行目のエントリを置換してしまいます");
        break;
      case AddResult::kAdded:
        break;
    }
    out += L"\n";
  }
  return out + t(L"rows added to ", L"対応表 ") + tablePath + t(L": ", L" に追加した行: ") +
         std::to_wstring(addition.added) + L"\n";
}

}  // namespace

std::wstring OutlinePath(std::string_view value, const std::optional<std::wstring>& winePrefix) {
  const std::wstring path = WideFromCp932(value);
  if (!winePrefix) return path;
  if (path.starts_with(L"/")) return path;
  const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/') &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  if (!drive) return L"";
  // Wine's own way to a drive: dosdevices/c: leads to drive_c, z: to the root.
  const wchar_t letter = static_cast<wchar_t>(path[0] | 0x20);
  std::wstring rest = path.substr(3);
  std::replace(rest.begin(), rest.end(), L'\\', L'/');
  return JoinPath(*winePrefix, std::wstring(L"dosdevices/") + letter + L":/" + rest, L'/');
}

int RunSuggest(const SuggestFiles& paths, const Options& options, const Environment& environment,
               FileSystem& files, FileRanges& fonts, Console& console) {
  const Texts t(environment.language);
  auto table = std::make_unique<FontTable>();
  (void)ParseFontTable(paths.tableBytes, *table);
  const std::string& list = paths.list;

  FontSources sources;
  sources.folders = options.fonts.empty() ? environment.fontFolders : options.fonts;
  sources.outlinePath = [&](std::string_view value) {
    return OutlinePath(value, environment.winePrefix);
  };
  const RewriteResult rewrite = RewriteFontList(list, *table);
  const Suggestions suggestions = SuggestRows(rewrite, sources, fonts);
  bool resolved =
      std::all_of(suggestions.entries.begin(), suggestions.entries.end(),
                  [](const EntrySuggestion& e) { return e.result == SuggestResult::kOne; });
  std::wstring report = t(L"font list: ", L"フォント一覧: ") + paths.listFile + L"\n" +
                        SuggestionReport(suggestions, t);
  if (options.addToTable) {
    const Proposed proposed = ProposedRows(suggestions, rewrite);
    const TableAddition addition = AppendRows(paths.tableBytes, *table, list, proposed.rows);
    if (addition.added > 0) files.ReplaceWholeFile(paths.tablePath, addition.table);
    resolved = resolved && addition.added == addition.rows.size();
    report += AdditionReport(proposed, addition, paths.tablePath, t);
  } else {
    report += t(L"nothing written (--add-to-table appends the rows with one suggestion)\n",
                L"何も書き込んでいません (--add-to-table で候補が1つの行を対応表に追加します)\n");
  }
  if (!options.quiet) console.Out(report);
  return resolved ? kDone : kUnresolved;
}

}  // namespace vemo::cli
