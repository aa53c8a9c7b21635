#include "cli/vemofix.h"

#include <algorithm>
#include <cwctype>
#include <memory>

#include "cli/options.h"
#include "cli/run_log.h"
#include "cli/suggest_command.h"
#include "cli/texts.h"
#include "errors/report_error.h"
#include "fontfix/adobe_programs.h"
#include "fontfix/folder_text.h"
#include "fontfix/list_location.h"
#include "fontfix/suggest.h"
#include "fontfix/table_file.h"
#include "platform/app_info.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/runtime_error.h"
#include "platform/workstation.h"

namespace vemo::cli {
namespace {

std::wstring Usage(const Texts& t, const Environment& environment) {
  const std::wstring folder =
      environment.defaultFolder ? *environment.defaultFolder : t(msg::kNoDefaultFolderShown);
  return t(msg::kHelp, {folder});
}

const Message& UsageMessage(UsageError::Kind kind) {
  switch (kind) {
    case UsageError::Kind::kUnknownOption:
      return msg::kUnknownOption;
    case UsageError::Kind::kMissingValue:
      return msg::kMissingValue;
    case UsageError::Kind::kBadVersion:
      return msg::kBadVersion;
    case UsageError::Kind::kExtraArgument:
      return msg::kExtraArgument;
    case UsageError::Kind::kDryRunRestore:
      return msg::kDryRunRestore;
    case UsageError::Kind::kNoDefaultFolder:
      return msg::kNoDefaultFolder;
    case UsageError::Kind::kSuggestWith:
      return msg::kSuggestWith;
    case UsageError::Kind::kAddWithoutSuggest:
      break;
  }
  return msg::kAddWithoutSuggest;
}

std::wstring UsageErrorText(const UsageError& error, const Texts& t) {
  return t(UsageMessage(error.kind), {error.subject}) + L"\n" + t(msg::kTryHelp) + L"\n";
}

// The files of one run (the list and the backup as Illustrator sees them, the table) and what
// vemofix does with them: fix, restore, suggest.
class FileJob {
 public:
  FileJob(const Options& options, const Environment& environment, const Services& services,
          RunRecord& record)
      : options_(options),
        environment_(environment),
        files_(services.files),
        illustratorFiles_(files_, services.virtualization),
        console_(services.console),
        record_(record),
        t_(environment.language) {
    const wchar_t separator = environment.separator;
    listName_ = ListName(options);
    listPath_ = InFolder(*options.folder, listName_, separator);
    tablePath_ = options.table ? *options.table
                               : InFolder(environment.programFolder, L"Fonts.txt", separator);
    const std::wstring backupDir =
        options.backupDir ? *options.backupDir : FolderOrCurrent(tablePath_);
    backupPath_ = InFolder(backupDir, BackupFileName(listName_), separator);
  }

  int Restore() {
    record_.list = illustratorFiles_.FileFor(listPath_);
    if (!illustratorFiles_.FileExists(listPath_)) return ListMissing();
    RestoreList({listPath_, backupPath_}, illustratorFiles_);
    Say(t_(msg::kRestored,
           {illustratorFiles_.FileFor(backupPath_), illustratorFiles_.FileFor(listPath_)}) +
        L"\n");
    return kDone;
  }

  // The table is read once: its rows and, for --add-to-table, the bytes the rows join.
  int Suggest(FileRanges& fonts) {
    if (!TableExists()) return kUsage;
    const std::string tableBytes = files_.ReadWholeFile(tablePath_);
    record_.list = illustratorFiles_.FileFor(listPath_);
    if (!illustratorFiles_.FileExists(listPath_)) return ListMissing();
    const std::string list = illustratorFiles_.ReadWholeFile(listPath_);
    return RunSuggest(SuggestFiles{record_.list, list, tablePath_, tableBytes}, options_,
                      environment_, files_, fonts, console_);
  }

  int Fix() {
    auto table = std::make_unique<FontTable>();
    if (!LoadTable(*table)) return kUsage;
    record_.list = illustratorFiles_.FileFor(listPath_);
    const ListPaths paths{listPath_, backupPath_};
    if (options_.dryRun) {
      const ListPlan plan = PlanListRewrite(paths, illustratorFiles_);
      if (plan == ListPlan::kListMissing) return ListMissing();
      const std::string content = illustratorFiles_.ReadWholeFile(listPath_);
      Report(*table, RewriteFontList(content, *table),
             plan == ListPlan::kKeepBackup ? msg::kBackupWouldBeKept : msg::kBackupWouldBeMade);
      return kDone;
    }
    const std::optional<ListRewrite> rewrite = RewriteListFile(paths, *table, illustratorFiles_);
    if (!rewrite) return ListMissing();
    record_.backup = rewrite->backup == Backup::kMade ? L"made" : L"kept";
    Report(*table, rewrite->result,
           rewrite->backup == Backup::kMade ? msg::kBackupMade : msg::kBackupKept);
    return kDone;
  }

 private:
  // The files as they are now: a write that Windows would have virtualized made the copy.
  void Report(const FontTable& table, const RewriteResult& result, const Message& backupLine) {
    record_.list = illustratorFiles_.FileFor(listPath_);
    record_.rows = CountRows(result.rows);
    record_.unusable = UnusableEntries(result).size();
    Say(t_(msg::kFontList, {record_.list}) + L"\n" +
        RowReport(table, result.rows, environment_.language) +
        UnusableReport(result, environment_.language) +
        Summary(result.rows, options_.dryRun, environment_.language) +
        t_(backupLine, {illustratorFiles_.FileFor(backupPath_)}) + L"\n");
  }

  // The window goes on with an empty table after its stop message, for a person to see. A
  // script has nobody watching: a wrong table path must fail, so nothing is touched. An error
  // in the table's rows names the table.
  bool LoadTable(FontTable& table) {
    if (Concerning(tablePath_, [&] { return LoadFontTable(tablePath_, table, files_); })) {
      return true;
    }
    TableMissing();
    return false;
  }

  bool TableExists() {
    if (files_.FileExists(tablePath_)) return true;
    TableMissing();
    return false;
  }

  void TableMissing() {
    const std::wstring text = t_(msg::kTableMissing);
    console_.Err(t_(msg::kTableMissingLine, {text, tablePath_}) + L"\n");
    Problem(text, tablePath_);
  }

  int ListMissing() {
    const std::wstring text = t_(msg::kListMissing);
    console_.Err(t_(msg::kListMissingLines, {text, listPath_}) + L"\n");
    Problem(text, listPath_);
    return kListMissing;
  }

  void Problem(const std::wstring& text, const std::wstring& file) {
    record_.error = text;
    record_.errorFile = file;
  }

  void Say(const std::wstring& text) {
    if (!options_.quiet) console_.Out(text);
  }

  const Options& options_;
  const Environment& environment_;
  FileNamingFileSystem files_;              // the table; every error names its file
  IllustratorFileSystem illustratorFiles_;  // the list and the backup, as Illustrator sees them
  Console& console_;
  RunRecord& record_;
  Texts t_;
  std::wstring listName_;
  std::wstring listPath_;
  std::wstring tablePath_;
  std::wstring backupPath_;
};

// The error being handled, in the error dialog's words, after the file it concerns:
// "C:\...\AdobeFnt05.lst: ... (エラー番号:70)".
std::wstring CaughtErrorLine(const Texts& t, RunRecord* record = nullptr) {
  const std::wstring file = CaughtErrorFile();
  const std::wstring message = ErrorMessageText(CaughtErrorNumber());
  if (record) {
    record->error = message;
    record->errorFile = file;
  }
  return file.empty() ? message : t(msg::kErrorInFile, {file, message});
}

std::wstring Mode(const Options& options) {
  if (options.suggest) return options.addToTable ? L"add-to-table" : L"suggest";
  if (options.restore) return L"restore";
  return options.dryRun ? L"dry-run" : L"fix";
}

// A dry run and a plain --suggest only read: the list as Illustrator left it is what they
// report on, whether it runs or not.
bool Writes(const Options& options) {
  return options.suggest ? options.addToTable : !options.dryRun;
}

int RunJob(const Options& options, const Environment& environment, const Services& services,
           RunRecord& record) {
  const Texts t(environment.language);
  try {
    if (Writes(options) && IllustratorOrPhotoshopRuns(services.programs)) {
      record.error = t(msg::kAdobeRunning);
      services.console.Err(t(msg::kAdobeRunningLine, {record.error}) + L"\n");
      return kAdobeRunning;
    }
    FileJob job(options, environment, services, record);
    if (options.suggest) return job.Suggest(services.fonts);
    return options.restore ? job.Restore() : job.Fix();
  } catch (...) {
    services.console.Err(CaughtErrorLine(t, &record) + L"\n");
    return kRuntimeError;
  }
}

// A log that cannot be written changes neither the run nor its status: a warning says so.
void WriteLog(const std::wstring& log, const RunRecord& record, const Environment& environment,
              const Services& services) {
  const Texts t(environment.language);
  try {
    Workstation& here = services.workstation;
    const RunContext context{here.Now(), here.ComputerName(), here.UserName()};
    const char* lineEnd = environment.separator == L'\\' ? "\r\n" : "\n";
    FileNamingFileSystem(services.files).AppendToFile(log, LogLine(record, context) + lineEnd);
  } catch (...) {
    services.console.Err(t(msg::kLogNotWritten, {CaughtErrorLine(t)}) + L"\n");
  }
}

}  // namespace

std::wstring RowReport(const FontTable& table, const std::vector<RowOutcome>& outcomes,
                       Language language) {
  const Texts t(language);
  std::wstring out;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const auto row = static_cast<std::int32_t>(i + 1);
    const std::wstring number = std::to_wstring(row);
    const std::wstring current = Printable(table.At(row, 1));
    const std::wstring replacement = Printable(table.At(row, 2));
    switch (outcomes[i].result) {
      case RowResult::kApplied:
        out +=
            t(msg::kRowReplaced, {number, current, replacement, std::to_wstring(outcomes[i].line)});
        break;
      case RowResult::kNotFound:
        out += t(msg::kRowNotFound, {number, current, replacement});
        break;
      case RowResult::kSkipped:
        out += t(msg::kRowSkipped, {number, current, replacement});
        break;
    }
    out += L"\n";
  }
  return out;
}

std::wstring UnusableReport(const RewriteResult& result, Language language) {
  const Texts t(language);
  std::wstring out;
  for (std::size_t i : UnusableEntries(result)) {
    const ListEntry& entry = result.entries[i];
    out += t(msg::kStillUnusable, {std::to_wstring(entry.line), Printable(result.ValueOf(entry))}) +
           L"\n";
  }
  return out;
}

std::wstring Summary(const std::vector<RowOutcome>& outcomes, bool dryRun, Language language) {
  const RowCounts rows = CountRows(outcomes);
  return Texts(language)(dryRun ? msg::kDryRunSummary : msg::kSummary,
                         {std::to_wstring(rows.applied), std::to_wstring(rows.notFound),
                          std::to_wstring(rows.skipped)}) +
         L"\n";
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name, wchar_t separator) {
  return JoinPath(separator == L'\\' ? TargetFolder(folder) : folder, name, separator);
}

std::wstring FolderOrCurrent(const std::wstring& path) {
  const std::wstring folder = FolderOfPath(path);
  return folder.empty() ? L"." : folder;
}

bool IsJapaneseLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang})
    if (value && *value) return std::string_view(value).starts_with("ja");
  return false;
}

std::optional<std::wstring> WinePrefix(const std::optional<std::wstring>& winePrefix,
                                       const std::optional<std::wstring>& home) {
  if (winePrefix && !winePrefix->empty()) return *winePrefix;
  if (home && !home->empty()) return JoinPath(*home, L".wine", L'/');
  return std::nullopt;
}

std::wstring InWinePrefix(std::wstring_view prefix, std::wstring_view windowsPath) {
  if (windowsPath.starts_with(L'/')) return std::wstring(windowsPath);
  const bool drive = windowsPath.size() >= 3 && windowsPath[1] == L':' &&
                     (windowsPath[2] == L'\\' || windowsPath[2] == L'/') &&
                     std::iswalpha(windowsPath[0]) && windowsPath[0] < 0x80;
  if (!drive) return L"";
  const auto letter = static_cast<wchar_t>(std::towlower(windowsPath[0]));
  std::wstring rest(windowsPath.substr(3));
  std::replace(rest.begin(), rest.end(), L'\\', L'/');
  const std::wstring folder =
      letter == L'c' ? std::wstring(L"drive_c") : std::wstring(L"dosdevices/") + letter + L':';
  return JoinPath(JoinPath(prefix, folder, L'/'), rest, L'/');
}

int RunVemofix(const std::vector<std::wstring>& args, const Environment& environment,
               const Services& services) {
  const Texts t(environment.language);
  Console& console = services.console;
  Options options;
  try {
    options = ParseOptions(args);
    if (options.help) {
      console.Out(Usage(t, environment));
      return kDone;
    }
    if (options.version) {
      console.Out(VersionText() + L"\n");
      return kDone;
    }
    if (!options.folder) options.folder = environment.defaultFolder;
    if (!options.folder) throw UsageError{UsageError::Kind::kNoDefaultFolder, L""};
  } catch (const UsageError& error) {
    console.Err(UsageErrorText(error, t));
    return kUsage;
  }

  RunRecord record;
  record.mode = Mode(options);
  record.status = RunJob(options, environment, services, record);
  if (options.log) WriteLog(*options.log, record, environment, services);
  return record.status;
}

}  // namespace vemo::cli
