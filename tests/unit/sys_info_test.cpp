#include <cstddef>
#include <map>
#include <optional>
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
// With blanks, so that every start below also shows the path is started whole, quoted.
const std::wstring kInstalled = L"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::wstring kInstalledExe = kInstalled + L"\\MSINFO32.EXE";
const std::wstring kDoubled = kInstalled + L"\\\\MSINFO32.EXE";
const std::wstring kGone = L"C:\\Gone\\msinfo32.exe";

StartRequest Whole(const std::wstring& path) {
  return {path, L"\"" + path + L"\""};
}

// The registry calls of one GetKeyValue: the open alone when the key is missing.
void AddReadCalls(std::vector<std::wstring>& calls, const testing::FakeRegistry& registry,
                  const std::wstring& key, const std::wstring& value) {
  calls.push_back(L"open " + key);
  if (registry.keys.count(key) == 0) return;
  calls.push_back(L"query " + key + L" " + value);
  calls.push_back(L"close " + key);
}

// Everything StartSysInfo meets, fresh.
struct SysInfoRoom {
  void Press() { StartSysInfo(registry, files, launcher, ui); }

  testing::FakeRegistry registry;
  testing::FakeFileSystem files;
  testing::FakeLauncher launcher;
  testing::FakeUi ui;
};

// Where the program is looked for, what is started, and when the user is told it cannot be.
// An empty path stands for none.
struct SysInfoCase {
  const char* what;
  std::optional<FakeValue> path;       // the first place
  std::optional<std::wstring> folder;  // the second place
  std::wstring onDisk;                 // what the existence test finds
  std::wstring startable;              // what the launcher can start
  std::optional<std::wstring> start;   // the start asked for
  bool starts;                         // it started, and no message came
  std::wstring existsAsked;            // the existence test made
  bool readsSecond;                    // the second place was read
  const wchar_t* firstName = L"PATH";  // the name the first place's value is under
};

TEST(StartSysInfo, TheFirstPlaceAsItStandsElseMsinfo32InTheSecondElseTheMessage) {
  const std::wstring none;       // no file
  const auto no = std::nullopt;  // no value, no start
  const SysInfoCase cases[] = {
      {"first place started with no existence test; second never read", TextValue(kInstalledExe),
       L"C:\\Elsewhere", none, kInstalledExe, kInstalledExe, true, none, false},
      {"second place folder with the program", no, kInstalled, kInstalledExe, kInstalledExe,
       kInstalledExe, true, kInstalledExe, true},
      {"second place folder without the program", no, kInstalled, none, kInstalledExe, no, false,
       kInstalledExe, true},
      {"both places absent", no, no, none, kInstalledExe, no, false, none, true},
      {"first key without the value falls to the second", TextValue(L"x"), kInstalled,
       kInstalledExe, kInstalledExe, kInstalledExe, true, kInstalledExe, true, L"Other"},
      {"stale first place fails without trying the second", TextValue(kGone), kInstalled,
       kInstalledExe, kInstalledExe, kGone, false, none, false},
      {"expand string in the first place starts the empty path",
       TextValue(L"%ProgramFiles%\\msinfo32.exe", reg::kExpandSz), kInstalled, kInstalledExe,
       kInstalledExe, L"", false, none, false},
      {"folder ending in a backslash is joined unchanged", no, kInstalled + L"\\", kInstalledExe,
       kInstalledExe, no, false, kDoubled, true},
      {"where the doubled backslash names a file, it starts", no, kInstalled + L"\\", kDoubled,
       kDoubled, kDoubled, true, kDoubled, true},
      {"launcher failure of the second place", no, kInstalled, kInstalledExe, none, kInstalledExe,
       false, kInstalledExe, true},
  };
  for (const SysInfoCase& c : cases) {
    SCOPED_TRACE(c.what);
    SysInfoRoom room;
    auto& [registry, files, launcher, ui] = room;
    if (c.path) registry.keys[kMsinfo].values[c.firstName] = *c.path;
    if (c.folder) registry.keys[kLocation].values[L"MSINFO"] = TextValue(*c.folder);
    // Only read rights are granted: asking for more would be refused.
    for (auto& [name, key] : registry.keys) key.grants = reg::kKeyRead;
    if (!c.onDisk.empty()) files.files[c.onDisk] = "MZ";
    if (!c.startable.empty()) launcher.programs.insert(c.startable);

    room.Press();

    std::vector<StartRequest> requests;
    if (c.start) requests.push_back(Whole(*c.start));
    EXPECT_EQ(launcher.requests, requests);
    EXPECT_EQ(launcher.started, c.starts ? requests : std::vector<StartRequest>{});
    if (c.starts) {
      EXPECT_TRUE(ui.messages.empty());
    } else {
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_EQ(ui.messages[0].text, L"現時点ではｼｽﾃﾑ情報を使用できません");
      EXPECT_EQ(ui.messages[0].style, MessageStyle::kOkOnly);
    }
    std::vector<std::wstring> exists;
    if (!c.existsAsked.empty()) exists.push_back(L"exists " + c.existsAsked);
    EXPECT_EQ(files.calls, exists);
    std::vector<std::wstring> calls;
    AddReadCalls(calls, registry, kMsinfo, L"PATH");
    if (c.readsSecond) AddReadCalls(calls, registry, kLocation, L"MSINFO");
    EXPECT_EQ(registry.calls, calls);
    for (std::uint32_t access : registry.accessAsked) EXPECT_EQ(access, 0x20019u);  // KEY_READ
  }
}

TEST(StartSysInfo, TwoPressesReadTheRegistryAfreshAndStartTwice) {
  SysInfoRoom room;
  auto& [registry, files, launcher, ui] = room;
  registry.keys[kMsinfo].values[L"PATH"] = TextValue(kInstalledExe);
  launcher.programs.insert(kInstalledExe);
  room.Press();
  room.Press();
  EXPECT_EQ(launcher.started.size(), 2u);
  EXPECT_EQ(registry.calls.size(), 6u);
  EXPECT_TRUE(ui.messages.empty());
}

// What GetKeyValue makes of each value, starting from the text "old".
struct ValueCase {
  const char* what;
  std::optional<FakeValue> value;  // none: the key holds no such value
  bool read;
  std::wstring text;
  bool keyExists = true;
};

TEST(GetKeyValue, TextUpToTheFirstNulDwordInDecimalOtherTypesKeepTheTextMissingEmpties) {
  const ValueCase cases[] = {
      {"text up to the first NUL", FakeValue{reg::kSz, Utf16Bytes(std::wstring(L"ab\0cd", 5))},
       true, L"ab"},
      {"Japanese text kept", TextValue(L"C:\\ツール\\msinfo32.exe"), true,
       L"C:\\ツール\\msinfo32.exe"},
      {"no terminator but room left", FakeValue{reg::kSz, Utf16Bytes(L"abc", false)}, true, L"abc"},
      {"511 characters and their NUL: 1024 bytes fit", TextValue(std::wstring(511, L'x')), true,
       std::wstring(511, L'x')},
      {"1024 bytes of text and no NUL: no end to cut at",
       FakeValue{reg::kSz, Utf16Bytes(std::wstring(512, L'x'), false)}, false, L""},
      {"one character more than fits", TextValue(std::wstring(512, L'x')), false, L""},
      {"DWORD 0", DwordValue(0), true, L"0"},
      {"DWORD bytes in order", DwordValue(0x01020304), true, L"16909060"},
      {"DWORD unsigned", DwordValue(0xFFFFFFFF), true, L"4294967295"},
      {"expand string", TextValue(L"C:\\new", reg::kExpandSz), true, L"old"},
      {"multi string", TextValue(L"C:\\new", reg::kMultiSz), true, L"old"},
      {"binary", TextValue(L"C:\\new", reg::kBinary), true, L"old"},
      {"none", TextValue(L"C:\\new", reg::kNone), true, L"old"},
      {"missing value", std::nullopt, false, L""},
      {"missing key", std::nullopt, false, L"", false},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.what);
    testing::FakeRegistry registry;
    if (c.keyExists) registry.keys[L"K"];
    if (c.value) registry.keys[L"K"].values[L"V"] = *c.value;
    std::wstring text = L"old";
    EXPECT_EQ(GetKeyValue(registry, RegistryRoot::kLocalMachine, L"K", L"V", text), c.read);
    EXPECT_EQ(text, c.text);
    // Every key opened is closed again, whatever the value was.
    std::vector<std::wstring> calls;
    AddReadCalls(calls, registry, L"K", L"V");
    EXPECT_EQ(registry.calls, calls);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
  }
}

}  // namespace
}  // namespace vemo
