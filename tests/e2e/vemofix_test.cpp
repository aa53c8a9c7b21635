// vemofix.exe against the window: for the same table and list, pressing 実行 and running
// vemofix.exe leave byte-identical lists and backups; and vemofix.exe's exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "errors/report_error.h"
#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

// A program folder with vemofix.exe beside vemotool.exe and the same Fonts.txt.
class WithVemofix {
 public:
  explicit WithVemofix(const std::string& table) : workspace_(L"べもつーる", L"Type Spt") {
    fs::copy_file(FixExe(), workspace_.program_folder() / L"vemofix.exe");
    WriteBytes(workspace_.fonts_txt(), table);
  }
  const Workspace& workspace() const { return workspace_; }

  Finished Run(std::vector<std::wstring> args) const {
    return RunToEnd(workspace_.program_folder() / L"vemofix.exe", args,
                    workspace_.program_folder());
  }
  // The folder given as the window's folder box would hold it.
  Finished RunOn(std::vector<std::wstring> args) const {
    return StartOn(std::move(args))->Finish();
  }
  std::unique_ptr<FixRun> StartOn(std::vector<std::wstring> args) const {
    args.insert(args.begin(), {L"--folder", workspace_.target_folder().wstring()});
    return std::make_unique<FixRun>(workspace_.program_folder() / L"vemofix.exe", args,
                                    workspace_.program_folder());
  }
  // Names in the two folders of the workspace that are temporary files of the programs.
  std::vector<std::wstring> Temporaries() const {
    std::vector<std::wstring> names;
    for (const fs::path& folder : {workspace_.program_folder(), workspace_.target_folder()}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        const std::wstring name = entry.path().filename().wstring();
        if (name.find(L".vemo-") != std::wstring::npos) names.push_back(name);
      }
    }
    return names;
  }

 private:
  Workspace workspace_;
};

// Presses 実行 with the folder and version given, and answers the completion message.
void ExecuteInWindow(const Workspace& workspace, bool illustrator10) {
  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  SetText(app.control(IDC_TXTFOLDER), workspace.target_folder().wstring());
  const int option = illustrator10 ? IDC_OPT10 : IDC_OPT89;
  Click(app.control(option));
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(app.control(option)); }));
  Click(app.control(IDC_CMDEXECUTE));
  const std::optional<MessageBoxInfo> box = WaitForMessageBox(app.process.id(), Deadline{30000});
  ASSERT_TRUE(box) << "no message after 実行";
  EXPECT_EQ(Utf8(box->text), Utf8(kCompletion));
  EXPECT_TRUE(Answer(*box));
}

const std::string kTable = Row(cp932::kMsMincho, "MS-Mincho") + Row("ryumin", "Ryumin-Light") +
                           Row("Ryumin-Light", "Ryumin-Light-KL") + Row(cp932::kHeisei, "") +
                           Row(cp932::kMsGothic, "MS-Gothic") + Row("Nothing", "Else");

TEST(VemofixAndWindow, LeaveByteIdenticalListsAndBackups) {
  WithVemofix window(kTable);
  WithVemofix command(kTable);
  struct Round {
    bool illustrator10;
    std::string list;
  };
  const std::vector<Round> rounds = {
      {true, ListOf({cp932::kMsMincho, "RYUMIN", cp932::kHeisei, cp932::kMsGothic})},
      // A second run on a changed list: both keep the first backup.
      {true, ListOf({cp932::kMsGothic, cp932::kMsMincho, cp932::kMsMincho})},
      {false, ListOf({"Ryumin-Light-Pro", cp932::kRyumin, cp932::kMsMincho})},
  };
  for (const Round& round : rounds) {
    const std::wstring name = round.illustrator10 ? L"AdobeFnt05.lst" : L"AdobeFnt.lst";
    WriteBytes(window.workspace().list(name), round.list);
    WriteBytes(command.workspace().list(name), round.list);
    ExecuteInWindow(window.workspace(), round.illustrator10);
    const Finished run = command.RunOn({L"--illustrator", round.illustrator10 ? L"10" : L"9"});
    EXPECT_EQ(run.status, 0u) << Utf8(run.err);

    const std::string listed = ReadBytes(window.workspace().list(name));
    EXPECT_NE(listed, round.list) << "the window changed nothing";
    EXPECT_EQ(ReadBytes(command.workspace().list(name)), listed);
    EXPECT_EQ(ReadBytes(command.workspace().backup(name)),
              ReadBytes(window.workspace().backup(name)));
    EXPECT_TRUE(FileExists(command.workspace().backup(name)));
  }
  EXPECT_EQ(ReadBytes(command.workspace().backup()), rounds[0].list);
}

TEST(VemofixExe, ReportsEveryRowInTheConsolesCodePageAndDryRunWritesNothing) {
  WithVemofix command(kTable);
  const std::string list = ListOf({cp932::kMsMincho, "RYUMIN"});
  WriteBytes(command.workspace().list(), list);
  const Finished dry = command.RunOn({L"--dry-run"});
  EXPECT_EQ(dry.status, 0u) << Utf8(dry.err);
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);
  EXPECT_FALSE(FileExists(command.workspace().backup()));
  // Whatever the language: the names in the console's code page, and the entry's line.
  EXPECT_NE(dry.out.find(L"ＭＳ明朝"), std::wstring::npos) << Utf8(dry.out);
  EXPECT_NE(dry.out.find(L"MS-Mincho"), std::wstring::npos);
  EXPECT_TRUE(dry.out.find(L"line 7\r\n") != std::wstring::npos ||
              dry.out.find(L"7行目") != std::wstring::npos)
      << "the first entry's FontName: is on line 7";
  EXPECT_NE(dry.out.find(L"\r\n"), std::wstring::npos) << "CR LF line ends in a file";

  const Finished quiet = command.RunOn({L"--quiet"});
  EXPECT_EQ(quiet.status, 0u);
  EXPECT_EQ(quiet.out + quiet.err, L"");
  EXPECT_EQ(ReadBytes(command.workspace().backup()), list);

  WriteBytes(command.workspace().list(), "changed");
  EXPECT_EQ(command.RunOn({L"--restore", L"--quiet"}).status, 0u);
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);
  EXPECT_EQ(ReadBytes(command.workspace().backup()), list);

  const Finished version = command.Run({L"--version"});
  EXPECT_EQ(version.status, 0u);
  EXPECT_EQ(version.out, L"1.2.3\r\n");
}

TEST(VemofixExe, ExitStatusesForAMissingListUsageAndRuntimeErrors) {
  WithVemofix command(kTable);
  const Finished missing = command.RunOn({});
  EXPECT_EQ(missing.status, 1u);
  EXPECT_NE(missing.err.find(command.workspace().list().wstring()), std::wstring::npos)
      << Utf8(missing.err);
  EXPECT_FALSE(FileExists(command.workspace().backup()));

  EXPECT_EQ(command.Run({L"--illustrator", L"11"}).status, 2u);
  EXPECT_EQ(command.Run({L"--no-such-option"}).status, 2u);

  // A list Illustrator cannot have changed yet: read-only. Error 75 naming the list, the list
  // as it was.
  const std::string list = ListOf({cp932::kMsMincho});
  WriteBytes(command.workspace().list(), list);
  SetFileAttributesW(command.workspace().list().c_str(), FILE_ATTRIBUTE_READONLY);
  const Finished readOnly = command.RunOn({});
  EXPECT_EQ(readOnly.status, 3u);
  EXPECT_EQ(Utf8(readOnly.err),
            Utf8(command.workspace().list().wstring() + L": " + ErrorMessageText(75) + L"\r\n"));
  SetFileAttributesW(command.workspace().list().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);

  // 1025 rows: error 9 in the error dialog's words after the table's path, and no file
  // touched.
  std::string big;
  for (int row = 1; row <= 1025; ++row) big += Row(std::to_string(row), "B");
  WriteBytes(command.workspace().fonts_txt(), big);
  // The backup the failed run made is a copy of the read-only list, attribute and all.
  SetFileAttributesW(command.workspace().backup().c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(DeleteFileW(command.workspace().backup().c_str()));
  const Finished tooMany = command.RunOn({});
  EXPECT_EQ(tooMany.status, 3u);
  EXPECT_EQ(Utf8(tooMany.err), Utf8(command.workspace().fonts_txt().wstring() + L": " +
                                    ErrorMessageText(9) + L"\r\n"));
  EXPECT_EQ(ReadBytes(command.workspace().list()), list);
  EXPECT_FALSE(FileExists(command.workspace().backup()));
}

std::wstring NameOf(BOOL (*WINAPI get)(LPWSTR, LPDWORD)) {
  wchar_t name[300];
  DWORD size = 300;
  return get(name, &size) ? name : L"?";
}

// Eight runs at once, as eight computers logging on, append to one log: eight whole records,
// none torn, none lost, each naming this computer and user.
TEST(VemofixExe, EightRunsAtOnceAppendEightWholeRecordsToOneLog) {
  WithVemofix command(Row(cp932::kMsMincho, "MS-Mincho") + Row("Nothing", ""));
  WriteBytes(command.workspace().list(), ListOf({cp932::kMsMincho, "Other"}));
  const fs::path log = command.workspace().target_folder() / L"office log.txt";
  std::vector<std::unique_ptr<FixRun>> runs;
  for (int run = 0; run < 8; ++run) {
    runs.push_back(command.StartOn({L"--dry-run", L"--quiet", L"--log", log.wstring()}));
  }
  for (const auto& run : runs) EXPECT_EQ(run->Finish().status, 0u);

  const std::string tail = Utf8(L"\tcomputer=" + NameOf(GetComputerNameW) + L"\tuser=" +
                                NameOf(GetUserNameW) + L"\tversion=1.2.3\tmode=dry-run\tstatus=0" +
                                L"\tlist=" + command.workspace().list().wstring() +
                                L"\tapplied=1\tnotfound=0\tskipped=1\tunusable=0\r\n");
  const std::regex time(R"(time=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)");
  constexpr std::size_t kTimeField = 30;
  const std::string written = ReadBytes(log);
  std::size_t records = 0;
  for (std::size_t at = 0; at < written.size(); ++records) {
    const std::size_t lineEnd = written.find("\r\n", at);
    const std::size_t end = lineEnd == std::string::npos ? written.size() : lineEnd + 2;
    const std::string line = written.substr(at, end - at);
    EXPECT_TRUE(std::regex_match(line.substr(0, kTimeField), time)) << line;
    EXPECT_EQ(line.substr(std::min(kTimeField, line.size())), tail);
    at = end;
  }
  EXPECT_EQ(records, 8u) << written;
}

// A list of about `size` bytes whose two Japanese entries come last, each once, as it is and
// as a run leaves it: a second run over the rewritten list changes nothing.
struct LongList {
  explicit LongList(std::size_t size) : original(ListOf({})) {
    for (int i = 0; original.size() < size; ++i) original += Entry("Filler" + std::to_string(i));
    original += Entry(cp932::kMsMincho) + Entry(cp932::kMsGothic);
    rewritten =
        Renamed(Renamed(original, cp932::kMsMincho, "MS-Mincho"), cp932::kMsGothic, "MS-Gothic");
  }
  std::string original;
  std::string rewritten;
};

std::chrono::milliseconds Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

// How long a run of vemofix.exe with `args` takes, the shorter of two: a busy machine makes a
// single one look longer than it is. A run over `list` leaves it rewritten.
std::chrono::milliseconds TimeOneRun(const WithVemofix& command, const LongList& list,
                                     const std::vector<std::wstring>& args = {L"--quiet"}) {
  std::chrono::milliseconds shortest = std::chrono::milliseconds::max();
  for (int run = 0; run < 2; ++run) {
    WriteBytes(command.workspace().list(), list.original);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(command.RunOn(args).status, 0u);
    shortest = std::min(shortest, Since(begin));
  }
  return shortest;
}

TEST(VemofixExeKilled, AtRandomInstantsLosesNothingAndTheNextRunFinishes) {
  WithVemofix command(kTable);
  const Workspace& workspace = command.workspace();
  const LongList lists(2 << 20);
  const std::string& original = lists.original;
  const std::string& rewritten = lists.rewritten;
  // Under Wine most of a run is its start: the instants fall after it, on the file work.
  const std::chrono::milliseconds startTime = TimeOneRun(command, lists, {L"--version"});
  const std::chrono::milliseconds runTime = TimeOneRun(command, lists);
  // Whole lists compared with ==: a failure message that diffs two lists of megabytes would
  // take more memory than the machine has.
  ASSERT_TRUE(ReadBytes(workspace.list()) == rewritten);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long long> instant(std::min(startTime.count() / 2, runTime.count()),
                                                   runTime.count());
  // Where each kill landed, told by the files it left.
  int starting = 0, backingUp = 0, rewriting = 0, writingList = 0, afterRename = 0, finished = 0;
  constexpr int kKills = 30;
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    WriteBytes(workspace.list(), original);
    DeleteFileW(workspace.backup().c_str());
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<FixRun> run = command.StartOn({L"--quiet"});
    const std::chrono::milliseconds at(instant(random));
    while (Since(start) < at) Sleep(1);
    const bool killed = run->Kill();

    const std::string list = ReadBytes(workspace.list());
    const std::string backup = ReadBytes(workspace.backup());
    ASSERT_TRUE(list == original || list == rewritten);
    ASSERT_TRUE(backup == "<absent>" || backup == original);
    const std::vector<std::wstring> left = command.Temporaries();
    const auto leftFor = [&](const std::wstring& name) {
      return std::any_of(left.begin(), left.end(),
                         [&](const std::wstring& n) { return n.starts_with(name + L".vemo-"); });
    };
    if (!killed) {
      ++finished;
    } else if (list == rewritten) {
      ++afterRename;
    } else if (leftFor(workspace.list().filename().wstring())) {
      ++writingList;
    } else if (leftFor(workspace.backup().filename().wstring())) {
      ++backingUp;
    } else if (backup != "<absent>") {
      ++rewriting;
    } else {
      ++starting;
    }

    const Finished next = command.RunOn({L"--quiet"});
    ASSERT_EQ(next.status, 0u) << Utf8(next.err);
    ASSERT_TRUE(ReadBytes(workspace.list()) == rewritten);
    ASSERT_TRUE(ReadBytes(workspace.backup()) == original);
    ASSERT_EQ(command.Temporaries(), std::vector<std::wstring>());
  }
  std::printf(
      "%d kills in a run of %lld ms (start %lld ms): %d before the backup, %d writing the backup, "
      "%d between "
      "backup and new list, %d writing the new list, %d after the rename, %d after the end\n",
      kKills, static_cast<long long>(runTime.count()), static_cast<long long>(startTime.count()),
      starting, backingUp, rewriting, writingList, afterRename, finished);
}

// The window's 実行 and vemofix.exe at the same moment on the same list, 20 times: each makes
// or finds the one backup, neither reports an error, and the list ends rewritten once.
TEST(WindowAndVemofixExe, StartedTogetherMakeOneBackupAndNeitherFails) {
  WithVemofix both(kTable);
  const Workspace& workspace = both.workspace();
  const LongList lists(512 << 10);
  const std::string& original = lists.original;
  const std::string& rewritten = lists.rewritten;
  const std::chrono::milliseconds runTime = TimeOneRun(both, lists);

  Running app = StartToMainWindow(workspace);
  ASSERT_TRUE(app.window);
  SetText(app.control(IDC_TXTFOLDER), workspace.target_folder().wstring());
  constexpr int kRounds = 20;
  int madeByVemofix = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    WriteBytes(workspace.list(), original);
    DeleteFileW(workspace.backup().c_str());
    // vemofix.exe takes most of its run to start: the click comes at steps across two of its
    // runs, so that the two jobs meet at every stage and each is first now and then.
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<FixRun> fix = both.StartOn({});
    while (Since(start) < runTime * 2 * round / kRounds) Sleep(1);
    Click(app.control(IDC_CMDEXECUTE));
    const std::optional<MessageBoxInfo> box = WaitForMessageBox(app.process.id(), Deadline{30000});
    ASSERT_TRUE(box) << "no message after 実行";
    EXPECT_EQ(Utf8(box->text), Utf8(kCompletion));
    ASSERT_TRUE(Answer(*box));
    const Finished command = fix->Finish();
    EXPECT_EQ(command.status, 0u) << Utf8(command.err);
    EXPECT_EQ(command.err, L"");
    EXPECT_TRUE(ReadBytes(workspace.list()) == rewritten);
    EXPECT_TRUE(ReadBytes(workspace.backup()) == original);
    EXPECT_EQ(both.Temporaries(), std::vector<std::wstring>());
    const bool made = command.out.find(L"backup made") != std::wstring::npos ||
                      command.out.find(L"バックアップを作成しました") != std::wstring::npos;
    madeByVemofix += made ? 1 : 0;
  }
  std::printf("vemofix.exe made the backup in %d of %d rounds, the window in the others\n",
              madeByVemofix, kRounds);
}

}  // namespace
}  // namespace vemo::e2e
