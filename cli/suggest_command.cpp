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
      return t(msg::kSkipShort);
    case FontSkip::kPastEnd:
      return t(msg::kSkipPastEnd);
    case FontSkip::kNoNameTable:
      return t(msg::kSkipNoNameTable);
    case FontSkip::kRecordCount:
      return t(msg::kSkipRecordCount);
    case FontSkip::kRecordPastEnd:
      return t(msg::kSkipRecordPastEnd);
    case FontSkip::kOddUtf16Length:
      return t(msg::kSkipOddUtf16Length);
    case FontSkip::kLoneSurrogate:
      return t(msg::kSkipLoneSurrogate);
    case FontSkip::kFaceCount:
      return t(msg::kSkipFaceCount);
    case FontSkip::kUnreadable:
      return ErrorMessageText(skipped.error);
    case FontSkip::kNone:
    case FontSkip::kNotAFont:
      break;
  }
  return t(msg::kSkipNotAFont);
}

std::wstring FaceText(const FaceRef& face, const Texts& t) {
  if (!face.collection) return t(msg::kFace, {Printable(face.postScript), face.file});
  return t(msg::kFaceOfCollection,
           {Printable(face.postScript), face.file, std::to_wstring(face.face)});
}

// The report's line for `entry`, on its line of the list.
std::wstring EntryLine(const Message& message, const EntrySuggestion& entry, const Texts& t,
                       std::wstring_view more = {}) {
  return t(message, {std::to_wstring(entry.line), Printable(entry.name), more}) + L"\n";
}

std::wstring SuggestionReport(const Suggestions& suggestions, const Texts& t) {
  std::wstring out;
  for (const SkippedFont& skipped : suggestions.skipped)
    out += t(msg::kFontSkipped, {skipped.file, SkipReason(skipped, t)}) + L"\n";
  std::size_t counts[3] = {};
  for (const EntrySuggestion& entry : suggestions.entries) {
    ++counts[static_cast<int>(entry.result)];
    switch (entry.result) {
      case SuggestResult::kOne:
        out += EntryLine(msg::kOneSuggestion, entry, t, FaceText(entry.faces.front(), t));
        break;
      case SuggestResult::kNone:
        out += EntryLine(msg::kNoFontFound, entry, t);
        break;
      case SuggestResult::kSeveral:
        out += EntryLine(msg::kSeveralFonts, entry, t);
        for (const FaceRef& face : entry.faces)
          out += t(msg::kOneOfSeveral, {FaceText(face, t)}) + L"\n";
        break;
    }
  }
  return out +
         t(msg::kSuggestionSummary,
           {std::to_wstring(counts[0]), std::to_wstring(counts[1]), std::to_wstring(counts[2]),
            std::to_wstring(suggestions.fontFiles)}) +
         L"\n";
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
    proposed.rows.push_back(
        NewRow{entry.name, entry.faces.front().postScript, rewrite.entries[entry.entry].original});
    proposed.entries.push_back(&entry);
  }
  return proposed;
}

std::wstring NotAddedReason(const RowAddition& row, const Texts& t) {
  switch (row.result) {
    case AddResult::kTableFull:
      return t(msg::kTableFull);
    case AddResult::kNotWritable:
      return t(msg::kNotWritable);
    case AddResult::kReplacesAnother:
      return row.otherLine == 0 ? t(msg::kReplacesNone)
                                : t(msg::kReplacesAnother, {std::to_wstring(row.otherLine)});
    case AddResult::kAdded:
      break;
  }
  return L"";
}

std::wstring AdditionReport(const Proposed& proposed, const TableAddition& addition,
                            const std::wstring& tablePath, const Texts& t) {
  std::wstring out;
  for (std::size_t i = 0; i < addition.rows.size(); ++i) {
    if (addition.rows[i].result == AddResult::kAdded) continue;
    out += EntryLine(msg::kNotAdded, *proposed.entries[i], t, NotAddedReason(addition.rows[i], t));
  }
  return out + t(msg::kRowsAdded, {tablePath, std::to_wstring(addition.added)}) + L"\n";
}

}  // namespace

std::wstring OutlinePath(std::string_view value, const std::optional<std::wstring>& winePrefix) {
  const std::wstring path = WideFromCp932(value);
  return winePrefix ? InWinePrefix(*winePrefix, path) : path;
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
  std::wstring report =
      t(msg::kFontList, {paths.listFile}) + L"\n" + SuggestionReport(suggestions, t);
  if (options.addToTable) {
    const Proposed proposed = ProposedRows(suggestions, rewrite);
    const TableAddition addition = AppendRows(paths.tableBytes, *table, list, proposed.rows);
    if (addition.added > 0) files.ReplaceWholeFile(paths.tablePath, addition.table);
    resolved = resolved && addition.added == addition.rows.size();
    report += AdditionReport(proposed, addition, paths.tablePath, t);
  } else {
    report += t(msg::kNothingWritten) + L"\n";
  }
  if (!options.quiet) console.Out(report);
  return resolved ? kDone : kUnresolved;
}

}  // namespace vemo::cli
