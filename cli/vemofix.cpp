#include "cli/vemofix.h"

#include <algorithm>
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

// The help, in English and in Japanese: its head, the default folder, its tail.
constexpr const wchar_t* kUsageHead[] = {
    L"Usage: vemofix [options]\n"
    L"Rewrites the \"FontName:\" entries of Illustrator's font list with the rename\n"
    L"table, keeping a backup of the list as it was before the first change.\n\n"
    L"  --illustrator 10|8|9  10 (the default): AdobeFnt05.lst; 8 or 9: AdobeFnt.lst\n"
    L"  --folder DIR          the folder of the font list (default: ",
    L"使い方: vemofix [オプション]\n"
    L"Illustratorのフォント一覧の \"FontName:\" エントリを対応表に従って書き換えます。\n"
    L"最初に変更する前の一覧はバックアップとして残します。\n\n"
    L"  --illustrator 10|8|9  10 (既定): AdobeFnt05.lst、8 または 9: AdobeFnt.lst\n"
    L"  --folder DIR          フォント一覧のフォルダー (既定: "};
constexpr const wchar_t* kUsageTail[] = {
    L")\n"
    L"  --table FILE          the rename table (default: Fonts.txt beside the program)\n"
    L"  --backup-dir DIR      where \"<list> のバックアップ\" is kept (default: the\n"
    L"                        table's folder)\n"
    L"  --dry-run             change nothing and make no backup; report what a run\n"
    L"                        would do\n"
    L"  --restore             copy the backup back over the list; the backup stays\n"
    L"  --quiet               print nothing but errors\n"
    L"  --log FILE            append a record of the run to FILE, one line of UTF-8\n"
    L"  --suggest             propose rows for the table from the fonts: for each entry\n"
    L"                        Illustrator cannot use, the font's PostScript name\n"
    L"  --add-to-table        with --suggest: append the rows with one suggestion\n"
    L"  --fonts DIR           with --suggest: read the fonts in DIR and its subfolders\n"
    L"                        (repeatable; default: the system's fonts folders)\n"
    L"  --help                show this help\n"
    L"  --version             show the version\n\n"
    L"Exit status: 0 done, 1 the font list is missing, 2 usage error or no rename table,\n"
    L"3 runtime error, 4 --suggest left entries without a single suggestion,\n"
    L"5 Illustrator or Photoshop is running (nothing was touched).\n",
    L")\n"
    L"  --table FILE          対応表 (既定: プログラムと同じフォルダーの Fonts.txt)\n"
    L"  --backup-dir DIR      \"<一覧> のバックアップ\" を置くフォルダー (既定: 対応表の\n"
    L"                        フォルダー)\n"
    L"  --dry-run             何も変更せず、バックアップも作らずに、実行した場合の結果を\n"
    L"                        表示します\n"
    L"  --restore             バックアップを一覧に書き戻します (バックアップは残ります)\n"
    L"  --quiet               エラー以外は何も表示しません\n"
    L"  --log FILE            実行の記録を FILE に1行追記します (UTF-8)\n"
    L"  --suggest             使えないエントリごとに、フォントの PostScript 名から\n"
    L"                        対応表の行を提案します\n"
    L"  --add-to-table        --suggest と一緒に: 候補が1つの行を対応表に追加します\n"
    L"  --fonts DIR           --suggest と一緒に: DIR とその下のフォントを読みます\n"
    L"                        (複数指定可、既定: システムのフォントフォルダー)\n"
    L"  --help                この説明を表示します\n"
    L"  --version             バージョンを表示します\n\n"
    L"終了コード: 0 完了、1 フォント一覧がない、2 使い方の誤りか対応表がない、\n"
    L"3 実行時エラー、4 --suggest で候補が1つに決まらないエントリがある、\n"
    L"5 Illustrator または Photoshop が起動している (何も変更していません)\n"};

std::wstring Usage(const Texts& t, const Environment& environment) {
  const std::wstring folder = environment.defaultFolder
                                  ? *environment.defaultFolder
                                  : std::wstring(t(L"none: set WINEPREFIX or HOME",
                                                   L"なし: WINEPREFIX か HOME を設定してください"));
  return t(kUsageHead[0], kUsageHead[1]) + folder + t(kUsageTail[0], kUsageTail[1]);
}

std::wstring UsageErrorText(const UsageError& error, const Texts& t) {
  std::wstring text = L"vemofix: ";
  switch (error.kind) {
    case UsageError::Kind::kUnknownOption:
      text += t(L"unknown option: ", L"不明なオプションです: ") + error.subject;
      break;
    case UsageError::Kind::kMissingValue:
      text += error.subject + t(L" needs a value", L" には値が必要です");
      break;
    case UsageError::Kind::kBadVersion:
      text += t(L"--illustrator takes 10, 8 or 9, not: ",
                L"--illustrator には 10、8、9 のどれかを指定してください: ") +
              error.subject;
      break;
    case UsageError::Kind::kExtraArgument:
      text += t(L"unexpected argument: ", L"余分な引数です: ") + error.subject;
      break;
    case UsageError::Kind::kDryRunRestore:
      text += t(L"--dry-run and --restore cannot be used together",
                L"--dry-run と --restore は同時に指定できません");
      break;
    case UsageError::Kind::kNoDefaultFolder:
      text += t(L"no --folder given, and neither WINEPREFIX nor HOME is set",
                L"--folder の指定がなく、WINEPREFIX も HOME も設定されていません");
      break;
    case UsageError::Kind::kSuggestWith:
      text += t(L"--suggest cannot be used with ",
                L"--suggest は次のオプションと同時に指定できません: ") +
              error.subject;
      break;
    case UsageError::Kind::kAddWithoutSuggest:
      text += t(L"--add-to-table needs --suggest", L"--add-to-table には --suggest が必要です");
      break;
  }
  return text + L"\n" + t(L"Try 'vemofix --help'.\n", L"'vemofix --help' で使い方を表示します。\n");
}

class Run {
 public:
  Run(const Options& options, const Environment& environment, const Services& services,
      RunRecord& record)
      : options_(options),
        environment_(environment),
        files_(services.files),
        illustrators_(files_, services.virtualization),
        console_(services.console),
        record_(record),
        t_(environment.language) {
    const wchar_t separator = environment.separator;
    listName_ = ListName(options);
    listPath_ = InFolder(*options.folder, listName_, separator);
    tablePath_ = options.table ? *options.table
                               : InFolder(environment.programFolder, L"Fonts.txt", separator);
    const std::wstring backupDir = options.backupDir ? *options.backupDir : FolderOf(tablePath_);
    backupPath_ = InFolder(backupDir, BackupFileName(listName_), separator);
  }

  int Restore() {
    record_.list = illustrators_.FileFor(listPath_);
    if (!illustrators_.FileExists(listPath_)) return ListMissing();
    RestoreList({listPath_, backupPath_}, illustrators_);
    Say(t_(L"restored ", L"バックアップ ") + illustrators_.FileFor(backupPath_) +
        t_(L" over ", L" を ") + illustrators_.FileFor(listPath_) +
        t_(L"\n", L" に書き戻しました\n"));
    return kDone;
  }

  // The table is read once: its rows and, for --add-to-table, the bytes the rows join.
  int Suggest(FileRanges& fonts) {
    if (!TableExists()) return kUsage;
    const std::string tableBytes = files_.ReadWholeFile(tablePath_);
    record_.list = illustrators_.FileFor(listPath_);
    if (!illustrators_.FileExists(listPath_)) return ListMissing();
    const std::string list = illustrators_.ReadWholeFile(listPath_);
    return RunSuggest(SuggestFiles{record_.list, list, tablePath_, tableBytes}, options_,
                      environment_, files_, fonts, console_);
  }

  int Fix() {
    auto table = std::make_unique<FontTable>();
    if (!LoadTable(*table)) return kUsage;
    record_.list = illustrators_.FileFor(listPath_);
    const ListPaths paths{listPath_, backupPath_};
    if (options_.dryRun) {
      const ListPlan plan = PlanListRewrite(paths, illustrators_);
      if (plan == ListPlan::kListMissing) return ListMissing();
      const std::string content = illustrators_.ReadWholeFile(listPath_);
      Report(*table, RewriteFontList(content, *table),
             plan == ListPlan::kKeepBackup
                 ? t_(L"the backup exists and would be kept: ",
                      L"バックアップは既にあるので、そのまま残します: ")
                 : t_(L"a backup would be made: ", L"バックアップを作成します: "));
      return kDone;
    }
    const std::optional<ListRewrite> rewrite = RewriteListFile(paths, *table, illustrators_);
    if (!rewrite) return ListMissing();
    record_.backup = rewrite->backup == Backup::kMade ? L"made" : L"kept";
    Report(*table, rewrite->result,
           rewrite->backup == Backup::kMade
               ? t_(L"backup made: ", L"バックアップを作成しました: ")
               : t_(L"the backup was there already and was kept: ",
                    L"バックアップは既にあるので、そのまま残しました: "));
    return kDone;
  }

 private:
  // The files as they are now: a write that Windows would have virtualized made the copy.
  void Report(const FontTable& table, const RewriteResult& result, const wchar_t* backupLine) {
    record_.list = illustrators_.FileFor(listPath_);
    record_.rows = CountRows(result.rows);
    record_.unusable = UnusableEntries(result).size();
    Say(t_(L"font list: ", L"フォント一覧: ") + record_.list + L"\n" +
        RowReport(table, result.rows, environment_.language) +
        UnusableReport(result, environment_.language) +
        Summary(result.rows, options_.dryRun, environment_.language) + backupLine +
        illustrators_.FileFor(backupPath_) + L"\n");
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
    const wchar_t* text = t_(L"the rename table is missing, nothing was changed",
                             L"対応表がないため、何も変更しませんでした");
    console_.Err(L"vemofix: " + (text + (L": " + tablePath_)) + L"\n");
    Problem(text, tablePath_);
  }

  int ListMissing() {
    const wchar_t* text = t_(L"The following file does not exist:", kMissingListText);
    console_.Err(text + (L"\n" + listPath_) + L"\n");
    Problem(text, listPath_);
    return kListMissing;
  }

  void Problem(const wchar_t* text, const std::wstring& file) {
    record_.error = text;
    record_.errorFile = file;
  }

  void Say(const std::wstring& text) {
    if (!options_.quiet) console_.Out(text);
  }

  const Options& options_;
  const Environment& environment_;
  FileNamingFileSystem files_;          // the table; every error names its file
  IllustratorFileSystem illustrators_;  // the list and the backup, as Illustrator sees them
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
std::wstring CaughtErrorLine(RunRecord* record = nullptr) {
  const std::wstring file = CaughtErrorFile();
  const std::wstring message = ErrorMessageText(CaughtErrorNumber());
  if (record) {
    record->error = message;
    record->errorFile = file;
  }
  return (file.empty() ? L"" : file + L": ") + message;
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
      record.error =
          t(L"Illustrator or Photoshop is running. Close it, then run again.", kAdobeRunningText);
      services.console.Err(L"vemofix: " + record.error + L"\n");
      return kAdobeRunning;
    }
    Run run(options, environment, services, record);
    if (options.suggest) return run.Suggest(services.fonts);
    return options.restore ? run.Restore() : run.Fix();
  } catch (...) {
    services.console.Err(CaughtErrorLine(&record) + L"\n");
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
    services.console.Err(t(L"vemofix: warning: the log was not written: ",
                           L"vemofix: 警告: ログに書き込めませんでした: ") +
                         CaughtErrorLine() + L"\n");
  }
}

}  // namespace

std::wstring RowReport(const FontTable& table, const std::vector<RowOutcome>& outcomes,
                       Language language) {
  const Texts t(language);
  std::wstring out;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const auto row = static_cast<std::int32_t>(i + 1);
    out += t(L"row ", L"表の") + std::to_wstring(row) + t(L": \"", L"行目「") +
           Shown(table.At(row, 1)) + t(L"\" -> \"", L"」→「") + Shown(table.At(row, 2)) +
           t(L"\": ", L"」: ");
    switch (outcomes[i].result) {
      case RowResult::kApplied:
        out += t(L"replaced the entry on line ", L"") + std::to_wstring(outcomes[i].line) +
               t(L"", L"行目のエントリを置換");
        break;
      case RowResult::kNotFound:
        out += t(L"no entry matched", L"該当するエントリなし");
        break;
      case RowResult::kSkipped:
        out += t(L"skipped (empty name)", L"名前が空のため飛ばしました");
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
    out += t(L"line ", L"") + std::to_wstring(entry.line) + t(L": \"", L"行目「") +
           Shown(result.ValueOf(entry)) +
           t(L"\": still unusable in Illustrator\n", L"」: Illustratorで使えないままです\n");
  }
  return out;
}

std::wstring Summary(const std::vector<RowOutcome>& outcomes, bool dryRun, Language language) {
  const Texts t(language);
  const RowCounts rows = CountRows(outcomes);
  std::wstring out =
      dryRun ? t(L"dry run, nothing written: ", L"試行のみ (何も書き込んでいません): ") : L"";
  out += t(L"rows: ", L"置換 ") + std::to_wstring(rows.applied) +
         t(L" applied, ", L" 行、該当なし ") + std::to_wstring(rows.notFound) +
         t(L" not found, ", L" 行、空のため飛ばした行 ") + std::to_wstring(rows.skipped) +
         t(L" skipped as empty\n", L" 行\n");
  return out;
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name, wchar_t separator) {
  if (separator == L'\\') return TargetFolder(folder) + name;
  return JoinPath(folder, name, separator);
}

std::wstring FolderOf(const std::wstring& path) {
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

std::optional<std::wstring> WineTypeSptFolder(const std::optional<std::wstring>& winePrefix,
                                              const std::optional<std::wstring>& home) {
  const std::optional<std::wstring> prefix = WinePrefix(winePrefix, home);
  if (!prefix) return std::nullopt;
  // The Windows folder as the prefix holds it: "C:\..." is "drive_c/...".
  std::wstring inPrefix = L"drive_c/" + std::wstring(kDefaultListFolder).substr(3);
  std::replace(inPrefix.begin(), inPrefix.end(), L'\\', L'/');
  return JoinPath(*prefix, inPrefix, L'/');
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
