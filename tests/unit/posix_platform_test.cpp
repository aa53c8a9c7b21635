// The POSIX door vemofix and the benchmark go through: files on a real temporary folder,
// errno as the Windows program's numbers, paths and CP932 text.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

using vemo::testing::ErrorOf;

namespace fs = std::filesystem;

class PosixFiles : public ::testing::Test {
 protected:
  PosixFiles() {
    root_ = fs::temp_directory_path() / ("vemo-posix-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "テスト フォルダ");
  }
  ~PosixFiles() override {
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(root_);
  }

  // A path in the folder with Japanese and a blank, as a UTF-32 path with a backslash.
  std::wstring Path(const std::wstring& name) const {
    return WideFromUtf8(root_.string()) + L"\\テスト フォルダ\\" + name;
  }
  fs::path Native(const std::wstring& name) const { return fs::path(NativePath(Path(name))); }
  void Write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(Native(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::wstring& name) const {
    std::ifstream in(Native(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t Entries() const {
    std::size_t count = 0;
    for (auto it = fs::directory_iterator(root_ / "テスト フォルダ");
         it != fs::directory_iterator(); ++it)
      ++count;
    return count;
  }

  fs::path root_;
  PosixFileSystem files_;
};

TEST_F(PosixFiles, ExistsMeansARegularFile) {
  Write(L"a.lst", "x");
  EXPECT_TRUE(files_.FileExists(Path(L"a.lst")));
  EXPECT_FALSE(files_.FileExists(Path(L"b.lst")));
  EXPECT_FALSE(files_.FileExists(Path(L"none\\b.lst")));
  EXPECT_FALSE(files_.FileExists(Path(L"")));  // the folder itself
  fs::create_symlink(Native(L"a.lst"), Native(L"link.lst"));
  EXPECT_TRUE(files_.FileExists(Path(L"link.lst")));
}

TEST_F(PosixFiles, CreateAndReadKeepEveryByteAndNameWhatIsMissing) {
  const std::string bytes = std::string("FontName:\x82\xa0\0\r\n\xff", 15);
  EXPECT_TRUE(files_.CreateWholeFile(Path(L"a.lst のバックアップ"), bytes));
  EXPECT_EQ(Read(L"a.lst のバックアップ"), bytes);
  Write(L"a.lst", bytes);
  EXPECT_EQ(files_.ReadWholeFile(Path(L"a.lst")), bytes);
  Write(L"empty", "");
  EXPECT_EQ(files_.ReadWholeFile(Path(L"empty")), "");

  // An existing backup is never overwritten: another run made it first.
  EXPECT_FALSE(files_.CreateWholeFile(Path(L"a.lst のバックアップ"), "other"));
  EXPECT_EQ(Read(L"a.lst のバックアップ"), bytes);
  EXPECT_EQ(ErrorOf([&] { files_.ReadWholeFile(Path(L"none.lst")); }), err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { files_.ReadWholeFile(Path(L"no folder\\a.lst")); }), err::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { files_.ReadWholeFile(Path(L"")); }), err::kPathFileAccessError);
  EXPECT_EQ(ErrorOf([&] { files_.CreateWholeFile(Path(L"no folder\\copy"), "x"); }),
            err::kPathNotFound);
  EXPECT_EQ(Entries(), 3u);
}

// A record of fields separated by tabs, as a log line is: a writer that writes a field at a
// time would let another's record in between.
std::string AppendedRecord(int writer, int record) {
  return "writer=" + std::to_string(writer) + "\trecord=" + std::to_string(record) + "\t" +
         std::string(100, static_cast<char>('a' + writer)) + "\n";
}

// `writers` threads, released together, each append `records` records through `append`; the
// number of appends that raised.
int AppendAtOnce(int writers, int records, const std::function<void(const std::string&)>& append) {
  std::atomic<bool> go{false};
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int writer = 0; writer < writers; ++writer) {
    threads.emplace_back([&, writer] {
      while (!go) std::this_thread::yield();
      for (int record = 0; record < records; ++record) {
        try {
          append(AppendedRecord(writer, record));
        } catch (...) {
          ++failures;
        }
      }
    });
  }
  go = true;
  for (std::thread& thread : threads) thread.join();
  return failures;
}

// What is wrong with `written`: the first line that is no whole record, or a record missing or
// written twice; empty when every record of AppendAtOnce is there once and whole.
std::string WrongWithAppends(const std::string& written, int writers, int records) {
  std::set<std::pair<int, int>> seen;
  std::size_t at = 0;
  while (at < written.size()) {
    const std::size_t end = written.find('\n', at);
    const std::string line = written.substr(at, end == std::string::npos ? end : end + 1 - at);
    at = end == std::string::npos ? written.size() : end + 1;
    int writer = -1;
    int record = -1;
    const bool whole = std::sscanf(line.c_str(), "writer=%d\trecord=%d", &writer, &record) == 2 &&
                       writer >= 0 && writer < writers && line == AppendedRecord(writer, record) &&
                       seen.emplace(writer, record).second;
    if (!whole) return "torn or doubled: " + line;
  }
  if (seen.size() != static_cast<std::size_t>(writers * records)) {
    return std::to_string(writers * records - static_cast<int>(seen.size())) + " records lost";
  }
  return "";
}

// Appends from many writers at the same moment, as an office's computers add to one log: each
// record whole, none lost; the file made by the first.
TEST_F(PosixFiles, AppendsOfManyWritersAtOnceStayWholeAndNoneIsLost) {
  constexpr int kWriters = 8, kRecords = 1000;
  const std::wstring log = Path(L"ログ.txt");
  EXPECT_EQ(AppendAtOnce(kWriters, kRecords,
                         [&](const std::string& record) { files_.AppendToFile(log, record); }),
            0);
  EXPECT_EQ(WrongWithAppends(Read(L"ログ.txt"), kWriters, kRecords), "");
  EXPECT_EQ(ErrorOf([&] { files_.AppendToFile(Path(L"no folder\\log.txt"), "x"); }),
            err::kPathNotFound);
}

// A list that is a symbolic link is replaced where it leads, and stays a link; the file keeps
// its mode and, when root runs vemofix (sudo), its owner and group.
TEST_F(PosixFiles, ReplaceFollowsALinkAndKeepsModeOwnerAndGroup) {
  const bool root = ::geteuid() == 0;
  Write(L"a.lst", "old");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(Native(L"a.lst"), mode);
  if (root) {
    ASSERT_EQ(::chown(Native(L"a.lst").c_str(), 1234, 5678), 0);
  }
  fs::create_symlink(Native(L"a.lst"), Native(L"link.lst"));
  files_.ReplaceWholeFile(Path(L"link.lst"), "new content");
  EXPECT_TRUE(fs::is_symlink(Native(L"link.lst")));
  EXPECT_EQ(Read(L"a.lst"), "new content");
  EXPECT_EQ(fs::status(Native(L"a.lst")).permissions() & fs::perms::all, mode);
  struct stat info;
  ASSERT_EQ(::stat(Native(L"a.lst").c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, root ? 1234u : ::geteuid());
  EXPECT_EQ(info.st_gid, root ? 5678u : ::getegid());
  EXPECT_EQ(Entries(), 2u);
  const std::string_view pieces[] = {"one ", "", "two"};
  files_.ReplaceWholeFile(Path(L"a.lst"), pieces);
  EXPECT_EQ(Read(L"a.lst"), "one two");
}

// A killed run's temporary file goes with the next run; a running process's stays.
TEST_F(PosixFiles, LeftoverTemporariesOfEndedProcessesGo) {
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ASSERT_GT(ended, 0);
  ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
  const std::wstring live = std::to_wstring(::getppid());
  Write(L"a.lst", "old");
  for (const std::wstring target : {L"a.lst", L"b"}) {
    for (const std::wstring& id :
         {std::to_wstring(ended), std::to_wstring(::getpid()) + L"-2", live, live + L"x"})
      Write(target + L".vemo-" + id + L".tmp", "left");
  }
  files_.ReplaceWholeFile(Path(L"a.lst"), "new");
  EXPECT_TRUE(files_.CreateWholeFile(Path(L"b"), "backup"));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_ / "テスト フォルダ"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  const std::string kept = std::to_string(::getppid());
  EXPECT_EQ(names, (std::vector<std::string>{
                       "a.lst", "a.lst.vemo-" + kept + ".tmp", "a.lst.vemo-" + kept + "x.tmp", "b",
                       "b.vemo-" + kept + ".tmp", "b.vemo-" + kept + "x.tmp"}));
}

TEST_F(PosixFiles, ReplaceRefusesReadOnlyMissingAndFolderTargets) {
  Write(L"a.lst", "old");
  fs::permissions(Native(L"a.lst"), fs::perms::owner_read | fs::perms::group_read);
  // Refused even when running as root, who could write it.
  EXPECT_EQ(ErrorOf([&] { files_.ReplaceWholeFile(Path(L"a.lst"), "new"); }),
            err::kPathFileAccessError);
  EXPECT_EQ(Read(L"a.lst"), "old");
  EXPECT_EQ(ErrorOf([&] { files_.ReplaceWholeFile(Path(L"none.lst"), "new"); }),
            err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { files_.ReplaceWholeFile(Path(L"none\\a.lst"), "new"); }),
            err::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { files_.ReplaceWholeFile(Path(L""), "new"); }), err::kPathFileAccessError);
  EXPECT_EQ(Entries(), 1u);
}

// A descriptor or directory stream is let go once, by its last owner; -1 means none, while 0
// is a descriptor like any other.
TEST(PosixHandle, MovesOwnershipAndClosesOnce) {
  UniqueFd a(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(a);
  const int raw = a.get();
  UniqueFd b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(b.get(), raw);
  EXPECT_NE(::fcntl(raw, F_GETFD), -1);
  b.reset();
  EXPECT_EQ(::fcntl(raw, F_GETFD), -1);

  UniqueDir dir(::opendir("/"));
  ASSERT_TRUE(dir);
  const int dirRaw = ::dirfd(dir.get());
  EXPECT_NE(::fcntl(dirRaw, F_GETFD), -1);
  dir.reset();
  EXPECT_EQ(::fcntl(dirRaw, F_GETFD), -1);

  EXPECT_EQ(UniqueFd().get(), -1);
  EXPECT_FALSE(UniqueFd());
  UniqueFd standardInput(0);
  EXPECT_TRUE(standardInput);
  standardInput.release();
}

TEST(PosixErrno, MapsToTheWindowsProgramsNumbers) {
  EXPECT_EQ(ErrorNumberFromErrno(ENOENT, "/"), err::kFileNotFound);
  EXPECT_EQ(ErrorNumberFromErrno(ENOENT, "/no-such-folder-here/x"), err::kPathNotFound);
  EXPECT_EQ(ErrorNumberFromErrno(ENOTDIR, "/x"), err::kPathNotFound);
  EXPECT_EQ(ErrorNumberFromErrno(EACCES, "/x"), err::kPathFileAccessError);
  EXPECT_EQ(ErrorNumberFromErrno(EPERM, "/x"), err::kPathFileAccessError);
  EXPECT_EQ(ErrorNumberFromErrno(EROFS, "/x"), err::kPathFileAccessError);
  EXPECT_EQ(ErrorNumberFromErrno(ENOSPC, "/x"), err::kDiskFull);
  EXPECT_EQ(ErrorNumberFromErrno(EFBIG, "/x"), err::kDiskFull);
  EXPECT_EQ(ErrorNumberFromErrno(ENAMETOOLONG, "/x"), err::kBadFileName);
  EXPECT_EQ(ErrorNumberFromErrno(EBUSY, "/x"), err::kPermissionDenied);
  EXPECT_EQ(ErrorNumberFromErrno(EMFILE, "/x"), err::kTooManyFiles) << "67, as on Windows";
  EXPECT_EQ(ErrorNumberFromErrno(ETXTBSY, "/x"), err::kPermissionDenied);
  EXPECT_EQ(ErrorNumberFromErrno(ENOMEM, "/x"), err::kOutOfMemory);
  EXPECT_EQ(ErrorNumberFromErrno(EIO, "/x"), err::kDeviceIoError);
}

TEST(PosixText, PathsAreUtf8AndAnyBytesSurviveTheRoundTrip) {
  EXPECT_EQ(NativePath(L"C:\\a\\ＭＳ明朝"),
            "C:/a/\xEF\xBC\xAD\xEF\xBC\xB3\xE6\x98\x8E\xE6\x9C\x9D");
  EXPECT_EQ(WideFromUtf8("\xE3\x81\x82/\xF0\x9F\x98\x80"), L"あ/\U0001F600");
  const std::string odd = "a\xFF\x82\xA0\xC0\xAF\xED\xA0\x80z";  // not UTF-8 at all
  EXPECT_EQ(Utf8FromWide(WideFromUtf8(odd)), odd);
  EXPECT_EQ(WideFromUtf8("\xFF").front(), L'\xDCFF');
  EXPECT_EQ(Utf8FromWide(L"\xD800"), "\xEF\xBF\xBD");
}

TEST(PosixText, Cp932ThroughIconv) {
  EXPECT_EQ(WideFromCp932("\x82\x6C\x82\x72\x96\xBE\x92\xA9 A"), L"ＭＳ明朝 A");
  EXPECT_EQ(Cp932FromWide(L"ＭＳ明朝 A"), "\x82\x6C\x82\x72\x96\xBE\x92\xA9 A");
  EXPECT_EQ(WideFromCp932(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
  EXPECT_EQ(WideFromCp932("x\xA0y\x82"), L"x\uFFFDy\uFFFD");
  EXPECT_EQ(Cp932FromWide(L"a\U0001F600b"), "a?b");
  EXPECT_EQ(WideFromCp932(""), L"");
  // Long enough to need more than one pass through the converter's buffer.
  const std::string many(10000, '\x82');
  EXPECT_EQ(WideFromCp932(many + "\x81").size(), 5001u);
}

TEST(PosixProgramFolder, IsTheFolderOfTheRunningProgram) {
  const std::wstring folder = ProgramFolder();
  EXPECT_EQ(fs::path(NativePath(folder)), fs::canonical("/proc/self/exe").parent_path());
  EXPECT_EQ(PathBesideProgram(L"Fonts.txt"), folder + L"/Fonts.txt");
}

}  // namespace
}  // namespace vemo
