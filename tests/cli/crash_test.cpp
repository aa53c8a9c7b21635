// The real vemofix killed at random instants of its run, and on a disk that fills up: at every
// instant the list is the old or the new one, the backup absent or whole, and the next run
// finishes the job and leaves no temporary file.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kBackupName = "AdobeFnt05.lst のバックアップ";

// In one piece: a character at a time, a sanitized build would take longer than vemofix's run.
std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return "<absent>";
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A list of about `size` bytes whose entries the table renames sit at its end, each once:
// a second run over the rewritten list changes nothing.
std::string List(std::size_t size, const std::string& prefix) {
  std::string list = "%!Adobe font list\r\n";
  for (int i = 0; list.size() < size; ++i) {
    list += "%BeginFont\r\nFontName:Filler" + std::to_string(i) +
            "\r\nFamilyName:Filler\r\nVersion:001.000\r\n%EndFont\r\n";
  }
  for (int k = 0; k < 8; ++k)
    list += "%BeginFont\r\nFontName:" + prefix + std::to_string(k) + "\r\n%EndFont\r\n";
  return list;
}

// A table folder and a list folder under a fresh temporary folder, removed at the end.
class Sandbox {
 public:
  explicit Sandbox(std::size_t listSize)
      : root_(fs::temp_directory_path() / ("vemo-crash-" + std::to_string(::getpid()))),
        original_(List(listSize, "OldName")),
        rewritten_(List(listSize, "NewLongerName")) {
    fs::remove_all(root_);
    fs::create_directories(tool());
    fs::create_directories(target());
    std::string table;
    for (int k = 0; k < 8; ++k)
      table += "OldName" + std::to_string(k) + ",NewLongerName" + std::to_string(k) + "\r\n";
    Write(tool() / "Fonts.txt", table);
  }
  ~Sandbox() { fs::remove_all(root_); }

  fs::path tool() const { return root_ / "tool"; }
  fs::path target() const { return root_ / "TypeSpt"; }
  fs::path list() const { return target() / "AdobeFnt05.lst"; }
  fs::path backup() const { return tool() / kBackupName; }
  fs::path err() const { return root_ / "stderr.txt"; }
  const std::string& original() const { return original_; }
  const std::string& rewritten() const { return rewritten_; }

  // The list as it was before any run, and no backup.
  void Reset() const {
    Write(list(), original_);
    fs::remove(backup());
  }
  // Everything in the two folders that is neither the table, the list nor the backup.
  std::vector<std::string> Temporaries() const {
    std::vector<std::string> names;
    for (const fs::path& folder : {tool(), target()}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "Fonts.txt" && name != "AdobeFnt05.lst" && name != kBackupName)
          names.push_back(name);
      }
    }
    return names;
  }

  // Starts vemofix on the sandbox; standard error goes to err(). A file size limit makes
  // writes past it fail with EFBIG, as a full disk fails them. posix_spawn rather than fork:
  // forking this sanitized process costs more than a whole run of vemofix.
  pid_t Start(std::optional<rlim_t> fileSizeLimit = std::nullopt) const {
    const std::string table = (tool() / "Fonts.txt").string();
    const std::string folder = target().string();
    const std::string errPath = err().string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    const char* argv[] = {"vemofix", "--folder", folder.c_str(), "--table", table.c_str(), nullptr};
    // Leaks are the unit tests' business; looking for them at every exit would double a run.
    const char* envp[] = {"LANG=C", "ASAN_OPTIONS=detect_leaks=0", nullptr};
    // The child takes the limit with it; this process has it only while it starts the child,
    // and ignores SIGXFSZ, which the child inherits, so that a write past it fails instead.
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    if (fileSizeLimit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{*fileSizeLimit, unlimited.rlim_max};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, VEMOFIX_PATH, &actions, nullptr,
                                    const_cast<char* const*>(argv), const_cast<char* const*>(envp));
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(error, 0) << "cannot start " << VEMOFIX_PATH;
    return pid;
  }

  // Runs vemofix to its end; its exit status, or -1 when it did not exit normally.
  int Run(std::optional<rlim_t> fileSizeLimit = std::nullopt) const {
    int status = 0;
    ::waitpid(Start(fileSizeLimit), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  fs::path root_;
  std::string original_;
  std::string rewritten_;
};

bool HasTemporaryOf(const std::vector<std::string>& names, const std::string& target) {
  for (const std::string& name : names)
    if (name.starts_with(target + ".vemo-")) return true;
  return false;
}

TEST(VemofixKilled, AtRandomInstantsLosesNothingAndTheNextRunFinishes) {
  // Small enough for 200 kills and 200 runs to take seconds, big enough that writing and
  // flushing take a good share of a run.
  Sandbox box(128 * 1024);
  // The shortest of three runs: a busy machine makes a single one look longer than it is.
  Clock::duration runTime = Clock::duration::max();
  for (int run = 0; run < 3; ++run) {
    box.Reset();
    const auto begin = Clock::now();
    ASSERT_EQ(box.Run(), 0) << Read(box.err());
    runTime = std::min(runTime, Clock::now() - begin);
    ASSERT_TRUE(Read(box.list()) == box.rewritten());
  }

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long long> instant(
      0, std::chrono::duration_cast<std::chrono::microseconds>(runTime).count());
  // Where each kill landed, told by the files it left.
  int starting = 0, backingUp = 0, rewriting = 0, writingList = 0, atRename = 0, afterRename = 0,
      finished = 0;
  constexpr int kKills = 200;
  for (int kill = 0; kill < kKills; ++kill) {
    box.Reset();
    const auto start = Clock::now();
    const pid_t pid = box.Start();
    std::this_thread::sleep_until(start + std::chrono::microseconds(instant(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);

    const std::string list = Read(box.list());
    const std::string backup = Read(box.backup());
    const std::vector<std::string> left = box.Temporaries();
    ASSERT_TRUE(list == box.original() || list == box.rewritten()) << "kill " << kill;
    ASSERT_TRUE(backup == "<absent>" || backup == box.original()) << "kill " << kill;
    if (WIFEXITED(status)) {
      ++finished;
    } else if (list == box.rewritten()) {
      ++afterRename;
    } else if (HasTemporaryOf(left, "AdobeFnt05.lst")) {
      const bool complete = Read(box.target() / left.back()).size() == box.rewritten().size();
      ++(complete ? atRename : writingList);
    } else if (HasTemporaryOf(left, kBackupName)) {
      ++backingUp;
    } else if (backup != "<absent>") {
      ++rewriting;
    } else {
      ++starting;
    }

    ASSERT_EQ(box.Run(), 0) << "after kill " << kill << ": " << Read(box.err());
    // Compared with ==: a failure message that diffs two whole lists would take minutes.
    ASSERT_TRUE(Read(box.list()) == box.rewritten()) << "kill " << kill;
    ASSERT_TRUE(Read(box.backup()) == box.original()) << "kill " << kill;
    ASSERT_EQ(box.Temporaries(), std::vector<std::string>()) << "kill " << kill;
  }
  std::printf(
      "%d kills in a run of %lld ms: %d before the backup, %d writing the backup, %d between "
      "backup and new list, %d writing the new list, %d with the new list whole before its "
      "rename, %d after the rename, %d after the end\n",
      kKills,
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(runTime).count()),
      starting, backingUp, rewriting, writingList, atRename, afterRename, finished);
}

// A file that may not grow past a limit fails as a full disk does: error 61 through the
// usual report, the list as it was, no partial backup and no temporary file.
TEST(VemofixOnAFullDisk, FailsWithError61AndLeavesNothingHalfWritten) {
  Sandbox box(64 * 1024);
  struct Case {
    const char* what;
    bool backupThere;
    rlim_t limit;
  } cases[] = {
      {"the backup does not fit", false, box.original().size() / 2},
      {"the new list does not fit", true, box.original().size() + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    box.Reset();
    if (c.backupThere) Write(box.backup(), box.original());
    EXPECT_EQ(box.Run(c.limit), 3);
    EXPECT_NE(Read(box.err()).find("61)"), std::string::npos) << Read(box.err());
    EXPECT_TRUE(Read(box.list()) == box.original());
    EXPECT_TRUE(Read(box.backup()) == (c.backupThere ? box.original() : "<absent>"));
    EXPECT_EQ(box.Temporaries(), std::vector<std::string>());
  }
}

}  // namespace
