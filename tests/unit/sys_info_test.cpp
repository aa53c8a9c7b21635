#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "about/sys_info.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_launcher.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_ui.h"

namespace vemo {
namespace {

using testing::DwordValue;
using testing::FakeValue;
using testing::StartRequest;
using testing::TextValue;
using testing::Utf16Bytes;

const std::wstring kMsinfo = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::wstring kLocation = L"SOFTWARE\\Microsoft\\Shared Tools Location";
const std::wstring kInstalled = L"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::wstring kInstalledExe = kInstalled + L"\\MSINFO32.EXE";

StartRequest Whole(const std::wstring& path) {
  return {path, L"\"" + path + L"\""};
}

class StartSysInfoTest : public ::testing::Test {
 protected:
  void SetPath(const FakeValue& value) { registry.keys[kMsinfo].values[L"PATH"] = value; }
  void SetFolder(const std::wstring& folder) {
    registry.keys[kLocation].values[L"MSINFO"] = TextValue(folder);
  }
  void InstallProgram(const std::wstring& path) {
    files.files[path] = "MZ";
    launcher.programs.insert(path);
  }
  void Press() { StartSysInfo(registry, files, launcher, ui); }
  void ExpectUnavailable() {
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, L"現時点ではｼｽﾃﾑ情報を使用できません");
    EXPECT_EQ(ui.messages[0].style, MessageStyle::kOkOnly);
    EXPECT_TRUE(launcher.started.empty());
  }

  testing::FakeRegistry registry;
  testing::FakeFileSystem files;
  testing::FakeLauncher launcher;
  testing::FakeUi ui;
};

TEST_F(StartSysInfoTest, FirstPlaceStartedAsItStandsSecondNeverRead) {
  InstallProgram(kInstalledExe);
  files.files.clear();  // no existence test for the first place: the start alone decides
  SetPath(TextValue(kInstalledExe));
  SetFolder(L"C:\\Elsewhere");
  Press();
  EXPECT_EQ(launcher.started, std::vector<StartRequest>{Whole(kInstalledExe)});
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(files.calls.empty());
  for (const std::wstring& call : registry.calls) EXPECT_EQ(call.find(kLocation), call.npos);
}

TEST_F(StartSysInfoTest, PathWithBlanksIsOneQuotedProgram) {
  const std::wstring path = L"C:\\Program Files\\My Tools\\msinfo32.exe";
  InstallProgram(path);
  SetPath(TextValue(path));
  Press();
  ASSERT_EQ(launcher.requests.size(), 1u);
  EXPECT_EQ(launcher.requests[0].application, path);
  EXPECT_EQ(launcher.requests[0].commandLine, L"\"C:\\Program Files\\My Tools\\msinfo32.exe\"");
}

TEST_F(StartSysInfoTest, SecondPlaceFolderWithTheProgram) {
  InstallProgram(kInstalledExe);
  SetFolder(kInstalled);
  Press();
  EXPECT_EQ(files.calls, std::vector<std::wstring>{L"exists " + kInstalledExe});
  EXPECT_EQ(launcher.started, std::vector<StartRequest>{Whole(kInstalledExe)});
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartSysInfoTest, SecondPlaceFolderWithoutTheProgram) {
  launcher.programs.insert(kInstalledExe);  // startable, but the existence test says no
  SetFolder(kInstalled);
  Press();
  ExpectUnavailable();
  EXPECT_TRUE(launcher.requests.empty());
}

TEST_F(StartSysInfoTest, BothPlacesAbsent) {
  Press();
  ExpectUnavailable();
  EXPECT_TRUE(launcher.requests.empty());
  EXPECT_EQ(registry.calls, (std::vector<std::wstring>{L"open " + kMsinfo, L"open " + kLocation}));
}

TEST_F(StartSysInfoTest, FirstPlaceKeyWithoutTheValueFallsToTheSecond) {
  registry.keys[kMsinfo].values[L"Other"] = TextValue(L"x");
  InstallProgram(kInstalledExe);
  SetFolder(kInstalled);
  Press();
  EXPECT_EQ(launcher.started, std::vector<StartRequest>{Whole(kInstalledExe)});
}

TEST_F(StartSysInfoTest, FirstPlaceStalePathFailsWithoutTryingTheSecond) {
  InstallProgram(kInstalledExe);
  SetPath(TextValue(L"C:\\Gone\\msinfo32.exe"));
  SetFolder(kInstalled);
  Press();
  EXPECT_EQ(launcher.requests, std::vector<StartRequest>{Whole(L"C:\\Gone\\msinfo32.exe")});
  ExpectUnavailable();
  EXPECT_TRUE(files.calls.empty());
  EXPECT_EQ(registry.calls.back(), L"close " + kMsinfo);
}

TEST_F(StartSysInfoTest, ExpandStringInFirstPlaceStartsTheEmptyPath) {
  InstallProgram(kInstalledExe);
  SetPath(TextValue(L"%ProgramFiles%\\msinfo32.exe", reg::kExpandSz));
  SetFolder(kInstalled);
  Press();
  EXPECT_EQ(launcher.requests, std::vector<StartRequest>{Whole(L"")});
  ExpectUnavailable();
}

TEST_F(StartSysInfoTest, FolderEndingInBackslashIsJoinedUnchanged) {
  SetFolder(kInstalled + L"\\");
  Press();
  EXPECT_EQ(files.calls, std::vector<std::wstring>{L"exists " + kInstalled + L"\\\\MSINFO32.EXE"});
  ExpectUnavailable();

  // Where the doubled backslash names an existing file, it is what starts.
  ui.messages.clear();
  InstallProgram(kInstalled + L"\\\\MSINFO32.EXE");
  Press();
  EXPECT_EQ(launcher.started, std::vector<StartRequest>{Whole(kInstalled + L"\\\\MSINFO32.EXE")});
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartSysInfoTest, TwoPressesTwoStarts) {
  InstallProgram(kInstalledExe);
  SetPath(TextValue(kInstalledExe));
  Press();
  Press();
  EXPECT_EQ(launcher.started.size(), 2u);
  EXPECT_EQ(registry.calls.size(), 6u);  // both presses read the registry afresh
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartSysInfoTest, ReadOnlyKeysStillGiveTheProgram) {
  // An account that may only read the keys: asking for write rights would be refused.
  InstallProgram(kInstalledExe);
  SetPath(TextValue(kInstalledExe));
  registry.keys[kMsinfo].grants = reg::kKeyRead;
  Press();
  EXPECT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(registry.accessAsked, std::vector<std::uint32_t>{0x20019});
}

TEST_F(StartSysInfoTest, LauncherFailureOfTheSecondPlaceGivesTheMessage) {
  SetFolder(kInstalled);
  files.files[kInstalledExe] = "";  // exists, but the launcher cannot start it
  Press();
  EXPECT_EQ(launcher.requests.size(), 1u);
  ExpectUnavailable();
}

class GetKeyValueTest : public ::testing::Test {
 protected:
  bool Read(std::wstring& text) {
    return GetKeyValue(registry, RegistryRoot::kLocalMachine, L"K", L"V", text);
  }
  void Set(const FakeValue& value) { registry.keys[L"K"].values[L"V"] = value; }

  testing::FakeRegistry registry;
};

TEST_F(GetKeyValueTest, TextUpToTheFirstNul) {
  Set({reg::kSz, Utf16Bytes(std::wstring(L"ab\0cd", 5))});
  std::wstring text = L"old";
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, L"ab");
}

TEST_F(GetKeyValueTest, JapaneseTextKept) {
  Set(TextValue(L"C:\\ツール\\msinfo32.exe"));
  std::wstring text;
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, L"C:\\ツール\\msinfo32.exe");
}

TEST_F(GetKeyValueTest, TextWithoutTerminatorThatLeavesRoomIsRead) {
  Set({reg::kSz, Utf16Bytes(L"abc", false)});
  std::wstring text;
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, L"abc");
}

TEST_F(GetKeyValueTest, BufferBoundary) {
  // 511 characters and their NUL: 1024 bytes, fits.
  Set(TextValue(std::wstring(511, L'x')));
  std::wstring text;
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, std::wstring(511, L'x'));

  // 1024 bytes of text and no NUL: no end to cut at, counts as absent.
  Set({reg::kSz, Utf16Bytes(std::wstring(512, L'x'), false)});
  text = L"old";
  EXPECT_FALSE(Read(text));
  EXPECT_EQ(text, L"");

  // One character more than fits: the registry refuses it.
  Set(TextValue(std::wstring(512, L'x')));
  text = L"old";
  EXPECT_FALSE(Read(text));
  EXPECT_EQ(text, L"");
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(GetKeyValueTest, DwordAsUnsignedDecimal) {
  std::wstring text;
  Set(DwordValue(0));
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, L"0");
  Set(DwordValue(0x01020304));
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, L"16909060");
  Set(DwordValue(0xFFFFFFFF));
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, L"4294967295");
}

TEST_F(GetKeyValueTest, OtherTypesLeaveTheTextAsItWas) {
  for (std::uint32_t type : {reg::kExpandSz, reg::kMultiSz, reg::kBinary, reg::kNone}) {
    Set(TextValue(L"C:\\new", type));
    std::wstring text = L"kept";
    EXPECT_TRUE(Read(text)) << type;
    EXPECT_EQ(text, L"kept") << type;
  }
}

TEST_F(GetKeyValueTest, MissingKeyOrValueGivesFalseAndEmptyText) {
  std::wstring text = L"old";
  EXPECT_FALSE(Read(text));
  EXPECT_EQ(text, L"");

  registry.keys[L"K"];
  text = L"old";
  EXPECT_FALSE(Read(text));
  EXPECT_EQ(text, L"");
}

TEST_F(GetKeyValueTest, EveryOpenedKeyIsClosed) {
  std::wstring text;
  Set(TextValue(L"a"));
  Read(text);
  registry.keys[L"K"].values.clear();
  Read(text);
  Set({reg::kSz, Utf16Bytes(std::wstring(512, L'x'), false)});
  Read(text);
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
  EXPECT_EQ(registry.calls,
            (std::vector<std::wstring>{L"open K", L"query K V", L"close K", L"open K", L"query K V",
                                       L"close K", L"open K", L"query K V", L"close K"}));
}

}  // namespace
}  // namespace vemo
