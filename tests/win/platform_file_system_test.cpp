#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "platform/win32/win32_services.h"
#include "tests/win/test_support.h"

namespace vemo {
namespace {

using testing::ErrorOf;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// "日本語フォント" and a name CP932 cannot hold (Hangul, a-umlaut).
const std::wstring kJapanese = L"\u65e5\u672c\u8a9e\u30d5\u30a9\u30f3\u30c8";
const std::wstring kNotCp932 = L"\ud55c\uae00\u00e4";

class FileSystemTest : public ::testing::Test {
 protected:
  TempFolder folder;
  Win32FileSystem files;
};

TEST_F(FileSystemTest, FileExistsOnlyForOrdinaryFilesNamedExactly) {
  WriteBytes(folder / L"plain.lst", "x");
  WriteBytes(folder / L"archive.lst", "x", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  WriteBytes(folder / L"hidden.lst", "x", FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(folder / L"system.lst", "x", FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(::CreateDirectoryW((folder / L"sub.lst").c_str(), nullptr));

  EXPECT_TRUE(files.FileExists(folder / L"plain.lst"));
  EXPECT_TRUE(files.FileExists(folder / L"PLAIN.LST"));
  EXPECT_TRUE(files.FileExists(folder / L"archive.lst"));
  EXPECT_FALSE(files.FileExists(folder / L"hidden.lst"));
  EXPECT_FALSE(files.FileExists(folder / L"system.lst"));
  EXPECT_FALSE(files.FileExists(folder / L"sub.lst"));
  EXPECT_FALSE(files.FileExists(folder / L"missing.lst"));
  EXPECT_FALSE(files.FileExists(folder.Path() + L"\\no-such-folder\\plain.lst"));
  EXPECT_FALSE(files.FileExists(folder.Path() + L"\\"));
  EXPECT_FALSE(files.FileExists(L""));
}

TEST_F(FileSystemTest, FileExistsTakesNoWildcards) {
  WriteBytes(folder / L"plain.lst", "x");
  EXPECT_FALSE(files.FileExists(folder / L"*.lst"));
  EXPECT_FALSE(files.FileExists(folder / L"plain.ls?"));
  EXPECT_FALSE(files.FileExists(folder / L"*"));
}

TEST_F(FileSystemTest, FileExistsWithJapaneseAndNonCp932Names) {
  const std::wstring sub = folder / kNotCp932;
  ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr)) << ::GetLastError();
  WriteBytes(sub + L"\\" + kJapanese + L".lst", "x");
  WriteBytes(folder / (kNotCp932 + L".lst"), "x");
  EXPECT_TRUE(files.FileExists(sub + L"\\" + kJapanese + L".lst"));
  EXPECT_TRUE(files.FileExists(folder / (kNotCp932 + L".lst")));
  EXPECT_FALSE(files.FileExists(sub + L"\\" + kJapanese + L"2.lst"));
}

TEST_F(FileSystemTest, ReadWholeFileGivesTheBytesExactly) {
  std::string bytes = "FontName:\x82\xd7\x82\xe0\r\n\x1a";
  bytes += std::string(1, '\0') + "\xff\x80 end";
  bytes += std::string(200000, '\x83');  // more than one read of any sensible buffer
  WriteBytes(folder / L"list.lst", bytes);
  EXPECT_EQ(files.ReadWholeFile(folder / L"list.lst"), bytes);

  WriteBytes(folder / L"empty.lst", "");
  EXPECT_EQ(files.ReadWholeFile(folder / L"empty.lst"), "");
}

TEST_F(FileSystemTest, ReadWholeFileErrors) {
  EXPECT_EQ(ErrorOf([&] { files.ReadWholeFile(folder / L"missing.lst"); }), 53);
  EXPECT_EQ(ErrorOf([&] { files.ReadWholeFile(folder / L"no\\list.lst"); }), 76);

  WriteBytes(folder / L"locked.lst", "x");
  HANDLE writer = ::CreateFileW((folder / L"locked.lst").c_str(), GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ErrorOf([&] { files.ReadWholeFile(folder / L"locked.lst"); }), 70);
  ::CloseHandle(writer);
}

TEST_F(FileSystemTest, CopyWholeFileCopiesBytesAndNeverOverwrites) {
  const std::string bytes = std::string("a\0b\r\n\x82\xa0", 7);
  WriteBytes(folder / L"list.lst", bytes);
  const std::wstring backup = folder / (L"list.lst \u306e\u30d0\u30c3\u30af\u30a2\u30c3\u30d7");
  files.CopyWholeFile(folder / L"list.lst", backup);
  EXPECT_EQ(ReadBytes(backup), bytes);

  WriteBytes(folder / L"other.lst", "other");
  EXPECT_NE(ErrorOf([&] { files.CopyWholeFile(folder / L"other.lst", backup); }), 0);
  EXPECT_EQ(ReadBytes(backup), bytes);
  EXPECT_EQ(ErrorOf([&] { files.CopyWholeFile(folder / L"missing.lst", folder / L"x"); }), 53);
}

class ReplaceWholeFileTest : public FileSystemTest {
 protected:
  const std::string before = "FontName:Old\r\nFamilyName:\x82\xa0\r\n";
  const std::string after = std::string("FontName:New\r\n\0\x1a\xfc", 18);

  void ExpectOnlyTheList(const std::wstring& name = L"list.lst") {
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{name}) << "a temporary file was left";
  }
};

TEST_F(ReplaceWholeFileTest, ReplacesTheContentByteForByte) {
  WriteBytes(folder / L"list.lst", before);
  files.ReplaceWholeFile(folder / L"list.lst", after);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), after);
  ExpectOnlyTheList();

  files.ReplaceWholeFile(folder / L"list.lst", "");
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), "");

  const std::string big(3 * 1024 * 1024 + 7, '\x81');
  files.ReplaceWholeFile(folder / L"list.lst", big);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), big);
  ExpectOnlyTheList();
}

TEST_F(ReplaceWholeFileTest, KeepsTheAttributes) {
  WriteBytes(folder / L"list.lst", before, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  files.ReplaceWholeFile(folder / L"list.lst", after);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), after);
  const DWORD attributes = ::GetFileAttributesW((folder / L"list.lst").c_str());
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_READONLY),
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
  ExpectOnlyTheList();
}

TEST_F(ReplaceWholeFileTest, RelativePathIsReplacedInItsFolder) {
  WriteBytes(folder / L"list.lst", before);
  wchar_t previous[MAX_PATH];
  ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, previous), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));
  const std::int32_t error = ErrorOf([&] { files.ReplaceWholeFile(L"list.lst", after); });
  ::SetCurrentDirectoryW(previous);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), after);
  ExpectOnlyTheList();
}

TEST_F(ReplaceWholeFileTest, FolderNotRepresentableInCp932) {
  const std::wstring sub = folder / kNotCp932;
  ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr)) << ::GetLastError();
  const std::wstring list = sub + L"\\" + kJapanese + L".lst";
  WriteBytes(list, before);
  files.ReplaceWholeFile(list, after);
  EXPECT_EQ(ReadBytes(list), after);
}

TEST_F(ReplaceWholeFileTest, RefusesAReadOnlyFileAndLeavesItAlone) {
  WriteBytes(folder / L"list.lst", before, FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ErrorOf([&] { files.ReplaceWholeFile(folder / L"list.lst", after); }), 75);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), before);
  EXPECT_EQ(::GetFileAttributesW((folder / L"list.lst").c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ExpectOnlyTheList();
}

TEST_F(ReplaceWholeFileTest, RefusesAFileHeldOpenAndLeavesItAlone) {
  WriteBytes(folder / L"list.lst", before);
  // As another program would hold it: reading and writing, sharing reading only.
  HANDLE holder = ::CreateFileW((folder / L"list.lst").c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const std::int32_t error = ErrorOf([&] { files.ReplaceWholeFile(folder / L"list.lst", after); });
  ::CloseHandle(holder);
  EXPECT_EQ(error, 70);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), before);
  ExpectOnlyTheList();
}

TEST_F(ReplaceWholeFileTest, RefusesAFileHeldOpenForReadingOnly) {
  WriteBytes(folder / L"list.lst", before);
  HANDLE holder = ::CreateFileW((folder / L"list.lst").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const std::int32_t error = ErrorOf([&] { files.ReplaceWholeFile(folder / L"list.lst", after); });
  ::CloseHandle(holder);
  EXPECT_EQ(error, 70);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), before);
  ExpectOnlyTheList();
}

// The holder lets others delete the file, so nothing stops the temporary file from being
// written; Wine (and Windows without POSIX rename) still refuses the rename over an open file.
// Whatever the answer, the file is either wholly new or wholly old and nothing is left over.
TEST_F(ReplaceWholeFileTest, AFailedRenameLeavesTheFileAndNoTemporary) {
  WriteBytes(folder / L"list.lst", before);
  HANDLE holder = ::CreateFileW((folder / L"list.lst").c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const std::int32_t error = ErrorOf([&] { files.ReplaceWholeFile(folder / L"list.lst", after); });
  ::CloseHandle(holder);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), error == 0 ? after : before) << error;
  ExpectOnlyTheList();
}

TEST_F(ReplaceWholeFileTest, MissingFileOrFolder) {
  EXPECT_EQ(ErrorOf([&] { files.ReplaceWholeFile(folder / L"missing.lst", after); }), 53);
  EXPECT_EQ(ErrorOf([&] { files.ReplaceWholeFile(folder / L"no\\list.lst", after); }), 76);
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(ReplaceWholeFileTest, AFolderIsNotReplaced) {
  ASSERT_TRUE(::CreateDirectoryW((folder / L"list.lst").c_str(), nullptr));
  EXPECT_EQ(ErrorOf([&] { files.ReplaceWholeFile(folder / L"list.lst", after); }), 75);
  ExpectOnlyTheList();
}

TEST_F(ReplaceWholeFileTest, ALeftoverTemporaryNameIsNotInTheWay) {
  WriteBytes(folder / L"list.lst", before);
  const std::wstring leftover =
      folder / (L"list.lst.vemo-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
  WriteBytes(leftover, "leftover");
  files.ReplaceWholeFile(folder / L"list.lst", after);
  EXPECT_EQ(ReadBytes(folder / L"list.lst"), after);
  EXPECT_EQ(ReadBytes(leftover), "leftover");
  EXPECT_EQ(folder.Names().size(), 2u);
}

}  // namespace
}  // namespace vemo
