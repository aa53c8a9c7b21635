#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "platform/win32/file_ranges_win.h"
#include "platform/win32/file_system_win.h"
#include "tests/win/test_support.h"

namespace vemo {
namespace {

using testing::ErrorOf;
using testing::Hold;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// "日本語フォント" and a name CP932 cannot hold (Hangul, a-umlaut).
const std::wstring kJapanese = L"\u65e5\u672c\u8a9e\u30d5\u30a9\u30f3\u30c8";
const std::wstring kNotCp932 = L"\ud55c\uae00\u00e4";

class FileSystemTest : public ::testing::Test {
 protected:
  void MakeSub() { ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr)) << ::GetLastError(); }
  void ExpectOnlyTheList() {
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"list.lst"})
        << "a temporary file was left";
  }
  std::int32_t Replace(const std::wstring& path) {
    return ErrorOf([&] { files.ReplaceWholeFile(path, after); });
  }

  TempFolder folder;
  Win32FileSystem files;
  const std::wstring list = folder / L"list.lst";
  const std::wstring sub = folder / kNotCp932;  // a folder CP932 cannot name
  const std::wstring japanese = sub + L"\\" + kJapanese + L".lst";
  const std::string before = "FontName:Old\r\nFamilyName:\x82\xa0\r\n";
  const std::string after = std::string("FontName:New\r\n\0\x1a\xfc", 18);
};

TEST_F(FileSystemTest, FileExistsOnlyForOrdinaryFilesNamedExactly) {
  WriteBytes(folder / L"plain.lst", "x");
  WriteBytes(folder / L"archive.lst", "x", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  WriteBytes(folder / L"hidden.lst", "x", FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(folder / L"system.lst", "x", FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(::CreateDirectoryW((folder / L"sub.lst").c_str(), nullptr));
  MakeSub();
  WriteBytes(japanese, "x");
  WriteBytes(folder / (kNotCp932 + L".lst"), "x");
  for (const std::wstring& path :
       {folder / L"plain.lst", folder / L"PLAIN.LST", folder / L"archive.lst", japanese,
        folder / (kNotCp932 + L".lst")}) {
    EXPECT_TRUE(files.FileExists(path)) << ::testing::PrintToString(path);
  }
  for (const std::wstring& path :
       {folder / L"hidden.lst", folder / L"system.lst", folder / L"sub.lst",
        folder / L"missing.lst", sub + L"\\" + kJapanese + L"2.lst",
        folder / L"no-such-folder\\plain.lst", folder.Path() + L"\\", std::wstring(),
        folder / L"*.lst", folder / L"plain.ls?", folder / L"*"}) {
    EXPECT_FALSE(files.FileExists(path)) << ::testing::PrintToString(path);
  }
}

TEST_F(FileSystemTest, ReadWholeFileGivesTheBytesExactly) {
  std::string bytes = "FontName:\x82\xd7\x82\xe0\r\n\x1a";
  bytes += std::string(1, '\0') + "\xff\x80 end";
  bytes += std::string(200000, '\x83');  // more than one read of any sensible buffer
  for (const std::string& content : {bytes, std::string()}) {
    WriteBytes(list, content);
    EXPECT_EQ(files.ReadWholeFile(list), content);
  }
}

TEST_F(FileSystemTest, ReadWholeFileRefusesAFileBeingWritten) {
  WriteBytes(list, "x");
  const UniqueFile writer = Hold(list, GENERIC_WRITE, 0);
  EXPECT_EQ(ErrorOf([&] { files.ReadWholeFile(list); }), 70);
}

TEST_F(FileSystemTest, MissingFileOrFolderRaisesAndCreatesNothing) {
  const std::wstring missing = folder / L"missing.lst";
  const std::wstring noFolder = folder / L"no\\list.lst";
  EXPECT_EQ(ErrorOf([&] { files.ReadWholeFile(missing); }), 53);
  EXPECT_EQ(ErrorOf([&] { files.ReadWholeFile(noFolder); }), 76);
  EXPECT_EQ(ErrorOf([&] { files.CreateWholeFile(noFolder, "x"); }), 76);
  EXPECT_EQ(Replace(missing), 53);
  EXPECT_EQ(Replace(noFolder), 76);
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(FileSystemTest, CreateWholeFileMakesTheFileOnceAndNeverOverwrites) {
  const std::string bytes = std::string("a\0b\r\n\x82\xa0", 7);
  const std::wstring backup = folder / (L"list.lst \u306e\u30d0\u30c3\u30af\u30a2\u30c3\u30d7");
  EXPECT_TRUE(files.CreateWholeFile(backup, bytes));
  EXPECT_EQ(ReadBytes(backup), bytes);
  EXPECT_FALSE(files.CreateWholeFile(backup, "other"));
  EXPECT_EQ(ReadBytes(backup), bytes);
  EXPECT_EQ(folder.Names().size(), 1u) << "a temporary file was left";
}

TEST_F(FileSystemTest, ReplaceWholeFileWritesTheBytesAndKeepsTheAttributes) {
  const DWORD kept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN;
  WriteBytes(list, before, kept);
  for (const std::string& bytes :
       {after, std::string(), std::string(3 * 1024 * 1024 + 7, '\x81')}) {
    files.ReplaceWholeFile(list, bytes);
    EXPECT_EQ(ReadBytes(list), bytes);
    ExpectOnlyTheList();
  }
  const DWORD looked = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_READONLY;
  EXPECT_EQ(::GetFileAttributesW(list.c_str()) & looked, kept);
}

TEST_F(FileSystemTest, ReplaceWholeFileInAFolderCp932CannotName) {
  MakeSub();
  WriteBytes(japanese, before);
  EXPECT_EQ(Replace(japanese), 0);
  EXPECT_EQ(ReadBytes(japanese), after);
}

TEST_F(FileSystemTest, ReplaceWholeFileOfARelativePathInItsFolder) {
  WriteBytes(list, before);
  wchar_t previous[MAX_PATH];
  ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, previous), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));
  const std::int32_t error = Replace(L"list.lst");
  ::SetCurrentDirectoryW(previous);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ReadBytes(list), after);
  ExpectOnlyTheList();
}

// A killed run's temporary file is removed by the next run, whatever its process id; one
// that a running program holds open is its own and stays.
TEST_F(FileSystemTest, LeftoverTemporariesGoUnlessARunHoldsThem) {
  const std::wstring backup = folder / L"backup";
  const std::wstring own = L".vemo-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  for (const std::wstring& target : {list, backup}) {
    WriteBytes(target + own, "killed run");
    WriteBytes(target + L".vemo-1-2.tmp", "killed run");
    WriteBytes(target + L".vemo-9.tmp", "live run");
  }
  WriteBytes(list, before);
  {
    const UniqueFile listHeld = Hold(list + L".vemo-9.tmp", GENERIC_WRITE, FILE_SHARE_DELETE);
    const UniqueFile backupHeld = Hold(backup + L".vemo-9.tmp", GENERIC_WRITE, FILE_SHARE_DELETE);
    EXPECT_EQ(Replace(list), 0);
    EXPECT_TRUE(files.CreateWholeFile(backup, before));
  }
  EXPECT_EQ(ReadBytes(list), after);
  EXPECT_EQ(ReadBytes(backup), before);
  auto names = folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"backup", L"backup.vemo-9.tmp", L"list.lst",
                                              L"list.lst.vemo-9.tmp"}));
}

// A refused replacement leaves the file as it was, attributes too, and no temporary file.
TEST_F(FileSystemTest, ReplaceWholeFileRefusalsLeaveTheFileAlone) {
  const struct {
    const char* what;
    DWORD attributes;
    DWORD holderAccess;  // 0: nobody holds the file
    DWORD holderShare;
    std::int32_t error;
  } table[] = {
      {"read-only", FILE_ATTRIBUTE_READONLY, 0, 0, 75},
      {"held for reading and writing", FILE_ATTRIBUTE_NORMAL, GENERIC_READ | GENERIC_WRITE,
       FILE_SHARE_READ, 70},
      {"held for reading only", FILE_ATTRIBUTE_NORMAL, GENERIC_READ, FILE_SHARE_READ, 70},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    WriteBytes(list, before, row.attributes);
    std::int32_t error = 0;
    {
      const UniqueFile holder =
          row.holderAccess ? Hold(list, row.holderAccess, row.holderShare) : UniqueFile();
      error = Replace(list);
    }
    EXPECT_EQ(error, row.error);
    EXPECT_EQ(ReadBytes(list), before);
    EXPECT_EQ(::GetFileAttributesW(list.c_str()) & FILE_ATTRIBUTE_READONLY,
              row.attributes & FILE_ATTRIBUTE_READONLY);
    ExpectOnlyTheList();
    ::SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// The holder lets others delete the file, so nothing stops the temporary file from being
// written; Wine (and Windows without POSIX rename) still refuses the rename over an open file.
// Whatever the answer, the file is either wholly new or wholly old and nothing is left over.
TEST_F(FileSystemTest, AFailedRenameLeavesTheFileAndNoTemporary) {
  WriteBytes(list, before);
  std::int32_t error = 0;
  {
    const UniqueFile holder =
        Hold(list, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    error = Replace(list);
  }
  EXPECT_EQ(ReadBytes(list), error == 0 ? after : before) << error;
  ExpectOnlyTheList();
}

TEST_F(FileSystemTest, AFolderIsNotReplaced) {
  ASSERT_TRUE(::CreateDirectoryW(list.c_str(), nullptr));
  EXPECT_EQ(Replace(list), 75);
  ExpectOnlyTheList();
}

// The font reader's door: parts of a file, even one another program holds open for writing,
// and every file under a folder, a folder CP932 cannot name and a hidden file included.
TEST_F(FileSystemTest, FileRangesReadPartsAndFindFilesInSubfolders) {
  MakeSub();
  WriteBytes(japanese, before);
  WriteBytes(folder / L"hidden.ttf", "x", FILE_ATTRIBUTE_HIDDEN);
  Win32FileRanges ranges;
  EXPECT_EQ(ranges.FilesUnder(folder.Path()),
            (std::vector<std::wstring>{folder / L"hidden.ttf", japanese}));
  EXPECT_TRUE(ranges.FilesUnder(folder / L"none").empty());

  const UniqueFile writer = Hold(japanese, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  const auto file = ranges.Open(japanese);
  EXPECT_EQ(file->Size(), before.size());
  EXPECT_EQ(file->Read(4, 5), "Name:");
  EXPECT_EQ(file->Read(before.size() - 2, 100), before.substr(before.size() - 2));
  EXPECT_EQ(file->Read(before.size() + 1, 4), "");
  EXPECT_EQ(ErrorOf([&] { ranges.Open(folder / L"missing.ttf"); }), err::kFileNotFound);
}

}  // namespace
}  // namespace vemo
