// The About dialog and its system information button, driven through the real program, with
// Wine's real registry holding the places where the system information program is found.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kAboutCaption = L"べもつーるのﾊﾞｰｼﾞｮﾝ情報";
const std::wstring kUnavailable = L"現時点ではｼｽﾃﾑ情報を使用できません";
const std::wstring kMsinfoKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::wstring kLocationKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";

// The registry view 64-bit Windows keeps the system information program's places in; a 32-bit
// program that reads them elsewhere (Wow6432Node) does not find them.
constexpr REGSAM kNativeView = KEY_WOW64_64KEY;

// One value below HKEY_LOCAL_MACHINE, as it was before the test; put back at the end (a
// prefix may hold a real entry of its own), and the key removed again if the test made it.
class SavedRegistryValue {
 public:
  SavedRegistryValue(std::wstring key, std::wstring name)
      : key_(std::move(key)), name_(std::move(name)) {
    // The keys this test may create, deepest first, so that the ones it made go again.
    for (std::wstring k = key_; k.find(L'\\') != k.npos; k.resize(k.rfind(L'\\'))) {
      UniqueHkey probe;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, k.c_str(), 0, KEY_READ | kNativeView, probe.put()) ==
          0) {
        break;
      }
      made_.push_back(k);
    }
    UniqueHkey open;
    keyExisted_ =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ | kNativeView, open.put()) == 0;
    if (!keyExisted_) return;
    DWORD size = 0;
    if (RegQueryValueExW(open.get(), name_.c_str(), nullptr, &type_, nullptr, &size) != 0) return;
    data_.resize(size);
    valueExisted_ =
        RegQueryValueExW(open.get(), name_.c_str(), nullptr, &type_, data_.data(), &size) == 0;
  }
  ~SavedRegistryValue() {
    if (valueExisted_) {
      Write(type_, data_.data(), static_cast<DWORD>(data_.size()));
    } else {
      Remove();
      for (const std::wstring& k : made_)
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, k.c_str(), kNativeView, 0);
    }
  }
  SavedRegistryValue(const SavedRegistryValue&) = delete;
  SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

  void SetText(const std::wstring& text, DWORD type = REG_SZ) {
    Write(type, reinterpret_cast<const BYTE*>(text.c_str()),
          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  void Remove() {
    UniqueHkey open;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE | kNativeView,
                      open.put()) == 0) {
      RegDeleteValueW(open.get(), name_.c_str());
    }
  }

 private:
  void Write(DWORD type, const BYTE* data, DWORD size) {
    UniqueHkey open;
    ASSERT_EQ(0, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0,
                                 KEY_SET_VALUE | kNativeView, nullptr, open.put(), nullptr));
    ASSERT_EQ(0, RegSetValueExW(open.get(), name_.c_str(), 0, type, data, size));
  }

  std::wstring key_;
  std::wstring name_;
  bool keyExisted_ = false;
  bool valueExisted_ = false;
  DWORD type_ = REG_NONE;
  std::vector<BYTE> data_;
  std::vector<std::wstring> made_;
};

fs::path StandInExe() {
  return BesideTests(L"sysinfo_stand_in.exe");
}

// Puts the stand-in at `path`; each of its starts adds one line to the returned record.
fs::path PlaceStandIn(const fs::path& path) {
  fs::create_directories(path.parent_path());
  fs::copy_file(StandInExe(), path, fs::copy_options::overwrite_existing);
  return path.wstring() + L".started";
}

// The command lines recorded by a stand-in, one per start.
std::vector<std::wstring> Starts(const fs::path& record) {
  std::string bytes = ReadBytes(record);
  if (bytes == "<absent>") return {};
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  std::vector<std::wstring> lines;
  for (size_t start = 0, end; (end = text.find(L'\n', start)) != text.npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class AboutDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(workspace_.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho"));
    app_ = StartToMainWindow(workspace_);
    ASSERT_TRUE(app_->window);
  }

  DWORD pid() const { return app_->process.id(); }
  HWND main() const { return app_->window; }

  // Help, About: through the menu item's id, or its keys Alt+H, A.
  HWND Open(bool byKeys = false) {
    if (byKeys) {
      MenuKeys(main(), L'h', L'a');
    } else {
      Command(main(), IDM_VERSION);
    }
    HWND dialog = WaitForWindow(pid(), L"#32770", kAboutCaption);
    if (dialog) RoundTrip(dialog);
    return dialog;
  }
  bool Closed(HWND dialog) {
    return WaitUntil([&] { return !IsWindow(dialog) && IsWindowEnabled(main()); });
  }
  void PressKey(HWND dialog, WPARAM key) {
    HWND target = FocusOf(dialog);
    PostMessageW(target ? target : dialog, WM_KEYDOWN, key, 0x00000001);
    PostMessageW(target ? target : dialog, WM_KEYUP, key, 0xC0000001);
  }
  void ExpectNoMessage(HWND dialog) {
    RoundTrip(dialog);
    EXPECT_FALSE(WaitForMessageBox(pid(), Deadline{300}, {dialog}));
  }
  void ExpectUnavailable(HWND dialog) {
    auto box = WaitForMessageBox(pid(), kWait, {dialog});
    ASSERT_TRUE(box) << "no message";
    EXPECT_WEQ(kUnavailable, box->text);
    EXPECT_WEQ(L"べもつーる", box->caption);
    // Style 0: no icon. (A blank icon control reads as "not recognised" to Describe.)
    HWND icon = GetDlgItem(box->window, 0x0440);
    EXPECT_TRUE(!icon || !IsWindowVisible(icon) || SendMessageW(icon, STM_GETICON, 0, 0) == 0);
    EXPECT_EQ(std::vector<std::wstring>{L"OK"}, box->buttons);
    ASSERT_TRUE(Answer(*box));
  }
  void CloseByOk(HWND dialog) {
    Click(Control(dialog, IDC_ABOUT_OK));
    EXPECT_TRUE(Closed(dialog));
  }

  Workspace workspace_;
  std::optional<Running> app_;
};

TEST_F(AboutDialog, ShowsItsTextsClosesByEscOrEnterOnOkAndTheNextOpeningLoadsAgain) {
  HWND dialog = Open();
  ASSERT_TRUE(dialog) << "no About dialog";
  EXPECT_WEQ(L"べもつーる", TextOf(Control(dialog, IDC_ABOUT_TITLE)));
  EXPECT_WEQ(L"ﾊﾞｰｼﾞｮﾝ 1.2.3", TextOf(Control(dialog, IDC_ABOUT_VERSION)));
  EXPECT_WEQ(L"Illustratorで使えないフォントの登録情報を更新して使えるようにするソフトです。",
             TextOf(Control(dialog, IDC_ABOUT_DESCRIPTION)));
  EXPECT_WEQ(L"OK", TextOf(Control(dialog, IDC_ABOUT_OK)));
  EXPECT_WEQ(L"ｼｽﾃﾑ情報(&S)...", TextOf(Control(dialog, IDC_ABOUT_SYSINFO)));
  std::wstring notice = TextOf(Control(dialog, IDC_ABOUT_TEXT1));
  EXPECT_NE(notice.find(L"\r\n"), notice.npos) << "the notice has several lines";
  EXPECT_TRUE(StyleOf(Control(dialog, IDC_ABOUT_TEXT1)) & ES_READONLY);
  EXPECT_EQ(Control(dialog, IDC_ABOUT_OK), FocusOf(dialog));

  // Owned by the main window, off the task bar, and the main window takes no input.
  EXPECT_EQ(main(), GetWindow(dialog, GW_OWNER));
  EXPECT_FALSE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(StyleOf(dialog) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_FALSE(IsWindowEnabled(main()));

  // 5730 x 3555 twips at the screen's DPI, centred over the main window.
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(MulDiv(5730, dpi, 1440), client.right);
  EXPECT_EQ(MulDiv(3555, dpi, 1440), client.bottom);
  RECT outer{};
  RECT owner{};
  GetWindowRect(dialog, &outer);
  GetWindowRect(main(), &owner);
  EXPECT_NEAR((owner.left + owner.right) / 2, (outer.left + outer.right) / 2, 1);
  EXPECT_NEAR((owner.top + owner.bottom) / 2, (outer.top + outer.bottom) / 2, 1);

  // Kept in the test's working folder for a look at the dialog.
  EXPECT_TRUE(SaveScreenshot(dialog, fs::current_path() / L"about-dialog.bmp"));
  PressKey(dialog, VK_ESCAPE);
  ASSERT_TRUE(Closed(dialog)) << "Esc did not close the dialog";
  EXPECT_TRUE(app_->process.Running());

  HWND second = Open(true);
  ASSERT_TRUE(second) << "Alt+H, A did not open the dialog a second time";
  EXPECT_WEQ(L"べもつーる", TextOf(Control(second, IDC_ABOUT_TITLE)));
  EXPECT_WEQ(L"ﾊﾞｰｼﾞｮﾝ 1.2.3", TextOf(Control(second, IDC_ABOUT_VERSION)));
  EXPECT_EQ(Control(second, IDC_ABOUT_OK), FocusOf(second));
  PressKey(second, VK_RETURN);  // Enter on OK
  EXPECT_TRUE(Closed(second)) << "Enter on OK did not close the dialog";
}

// Each press reads both places afresh, so one dialog meets them all in turn.
TEST_F(AboutDialog, SysInfoStartsTheFirstPlaceWholeElseMsinfo32OfTheSecondElseSaysUnavailable) {
  const fs::path root = workspace_.program_folder().parent_path() / L"Shared Tools";
  const fs::path first = root / L"MS Info" / L"msinfo32.exe";
  const fs::path second = root / L"Second Place";
  const fs::path firstRecord = PlaceStandIn(first);
  const fs::path secondRecord = PlaceStandIn(second / L"MSINFO32.EXE");
  const fs::path decoy = PlaceStandIn(root / L"MS.exe");  // what an unquoted start would run
  const std::optional<std::wstring> no;
  const struct {
    const char* what;
    std::optional<std::wstring> path, folder;  // the two places
    size_t firstStarts, secondStarts;          // the starts by then; no new one: the message
    bool byEnter = false;
  } cases[] = {
      {"neither place; Enter on the button presses it, not OK", no, no, 0, 0, true},
      {"first place, a path with blanks", first.wstring(), no, 1, 0},
      {"first place again: each press starts it", first.wstring(), no, 2, 0},
      {"second place", no, second.wstring(), 2, 1},
      {"first place naming no program: the second is not tried", (root / L"gone.exe").wstring(),
       second.wstring(), 2, 1},
  };
  SavedRegistryValue path(kMsinfoKey, L"PATH");
  SavedRegistryValue folder(kLocationKey, L"MSINFO");
  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  ASSERT_EQ(Control(dialog, IDC_ABOUT_SYSINFO), PressTab(dialog));
  size_t starts = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.path ? path.SetText(*c.path) : path.Remove();
    c.folder ? folder.SetText(*c.folder) : folder.Remove();
    if (c.byEnter) {
      PressKey(dialog, VK_RETURN);
    } else {
      Click(Control(dialog, IDC_ABOUT_SYSINFO));
    }
    if (c.firstStarts + c.secondStarts > starts) {
      starts = c.firstStarts + c.secondStarts;
      ASSERT_TRUE(WaitUntil([&] {
        return Starts(firstRecord).size() + Starts(secondRecord).size() >= starts;
      })) << "no start";
      ExpectNoMessage(dialog);
    } else {
      ExpectUnavailable(dialog);
    }
    EXPECT_EQ(Starts(firstRecord), std::vector(c.firstStarts, L"\"" + first.wstring() + L"\""));
    EXPECT_EQ(Starts(secondRecord),
              std::vector(c.secondStarts, L"\"" + (second / L"MSINFO32.EXE").wstring() + L"\""));
    EXPECT_TRUE(Starts(decoy).empty());
    ASSERT_TRUE(IsWindow(dialog)) << "the dialog stays open";
  }
  CloseByOk(dialog);
}

}  // namespace
}  // namespace vemo::e2e
