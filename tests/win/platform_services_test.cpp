#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "platform/single_instance.h"
#include "platform/win32/handle.h"
#include "platform/win32/launcher_win.h"
#include "platform/win32/path_win.h"
#include "platform/win32/shell_win.h"
#include "tests/win/test_support.h"

namespace vemo {
namespace {

using testing::ErrorOf;
using testing::ReadBytes;
using testing::TempFolder;

// A folder named without its closing backslash, holding the file `name`.
void ExpectFolderHolding(const std::wstring& folder, const std::wstring& name) {
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');
  const DWORD attributes = ::GetFileAttributesW((folder + L"\\" + name).c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(Codepage, JapaneseTextRoundTripsThroughCp932) {
  // べもつーる, half-width ﾌｧｲﾙ, full-width Ａ, a backslash-like yen sign byte and ASCII.
  const std::wstring text = L"\u3079\u3082\u3064\u30fc\u308b \uff8c\uff67\uff72\uff99 \uff21 C:\\x";
  const std::string bytes = Cp932FromWide(text);
  EXPECT_EQ(bytes.substr(0, 4), "\x82\xd7\x82\xe0");
  EXPECT_EQ(bytes.substr(11, 4), "\xcc\xa7\xb2\xd9");  // half-width katakana: one byte each
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "C:\\x");
  EXPECT_EQ(WideFromCp932(bytes), text);
}

TEST(Codepage, EmptyAndEmbeddedNul) {
  EXPECT_EQ(WideFromCp932(""), L"");
  EXPECT_EQ(Cp932FromWide(L""), "");
  EXPECT_EQ(WideFromCp932(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Codepage, NoErrorForWhatCp932CannotHold) {
  EXPECT_EQ(Cp932FromWide(L"a\ud55cb"), "a?b");
  // A lead byte without its trail byte, and a byte CP932 leaves undefined.
  const std::wstring text = WideFromCp932("x\x82");
  ASSERT_EQ(text.size(), 2u);
  EXPECT_EQ(text[0], L'x');
  EXPECT_EQ(WideFromCp932("A\xa0Z").front(), L'A');
  EXPECT_EQ(WideFromCp932("A\xa0Z").back(), L'Z');
}

TEST(ProgramFolder, IsTheFolderOfThisProgram) {
  ExpectFolderHolding(ProgramFolder(), L"win_tests.exe");
  EXPECT_EQ(PathBesideProgram(L"Fonts.txt"), ProgramFolder() + L"\\Fonts.txt");
}

TEST(ProgramFolder, PathPieces) {
  EXPECT_EQ(FolderOfPath(L"C:\\tools\\vemo\\vemotool.exe"), L"C:\\tools\\vemo");
  EXPECT_EQ(FolderOfPath(L"C:\\vemotool.exe"), L"C:\\");
  EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\vemotool.exe"), L"\\\\server\\share");
  EXPECT_EQ(JoinPath(L"C:\\", L"Fonts.txt"), L"C:\\Fonts.txt");
  EXPECT_EQ(JoinPath(L"C:\\tools", L"Fonts.txt"), L"C:\\tools\\Fonts.txt");
  EXPECT_EQ(FullPath(L"C:\\a\\..\\b\\list.lst"), L"C:\\b\\list.lst");
}

TEST(SingleInstance, TheSecondSeesTheFirstUntilItIsGone) {
  auto first = std::make_unique<SingleInstance>();
  EXPECT_FALSE(first->AnotherInstanceRunning());
  {
    SingleInstance second;
    EXPECT_TRUE(second.AnotherInstanceRunning());
  }
  first.reset();
  SingleInstance third;
  EXPECT_FALSE(third.AnotherInstanceRunning());
}

TEST(Launcher, StartsTheCommandLineWithoutWaiting) {
  TempFolder folder;
  Win32Launcher launcher;
  const std::wstring cmd = Win32Shell().WindowsFolder() + L"\\system32\\cmd.exe";
  const std::wstring first = folder / L"started.txt";
  const std::wstring second = folder / L"second.txt";
  launcher.Start(cmd, L"cmd.exe /c echo started> \"" + first + L"\"");
  // The command line alone names the program when no application is given.
  launcher.Start(L"", L"\"" + cmd + L"\" /c echo second> \"" + second + L"\"");

  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(VEMO_PLATFORM_WAIT_SECONDS);
  auto wrote = [](const std::wstring& file, const char* word) {
    return ReadBytes(file).rfind(word, 0) == 0;
  };
  while (!(wrote(first, "started") && wrote(second, "second")) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(wrote(first, "started"));
  EXPECT_TRUE(wrote(second, "second"));
}

TEST(Launcher, AProgramThatIsNotThereRaises) {
  TempFolder folder;
  Win32Launcher launcher;
  EXPECT_EQ(ErrorOf([&] { launcher.Start(L"", L"\"" + (folder / L"missing.exe") + L"\" /x"); }),
            53);
  EXPECT_EQ(ErrorOf([&] { launcher.Start(folder / L"missing.exe", L"missing.exe"); }), 53);
}

TEST(Shell, WindowsFolderHoldsExplorer) {
  ExpectFolderHolding(Win32Shell().WindowsFolder(), L"explorer.exe");
}

TEST(Shell, OpeningAFolderThatIsNotThereRaises) {
  TempFolder folder;
  Win32Shell shell;
  const std::int32_t error = ErrorOf([&] { shell.OpenFolder(folder / L"no\\such\\folder"); });
  EXPECT_TRUE(error == 53 || error == 76) << error;
}

TEST(Handle, MovesOwnershipAndClosesOnce) {
  UniqueKernelHandle a(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(a);
  const HANDLE raw = a.get();
  UniqueKernelHandle b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(b.get(), raw);
  DWORD flags = 0;
  EXPECT_TRUE(::GetHandleInformation(raw, &flags));
  b.reset();
  EXPECT_FALSE(::GetHandleInformation(raw, &flags));

  UniqueFile invalid;
  EXPECT_EQ(invalid.get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid);
}

}  // namespace
}  // namespace vemo
