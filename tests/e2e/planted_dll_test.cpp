// DLLs named like system DLLs, planted where a downloaded program starts: beside it (the
// Downloads folder holds whatever else was downloaded) and in the current folder. None may
// run inside either program through a whole job. Each marker DLL only records the programs
// that load it; Wine is told to prefer a DLL found there for each name, as Windows does for a
// DLL that is not a KnownDLL.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/workspace.h"

namespace vemo::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kAboutCaption = L"べもつーるのﾊﾞｰｼﾞｮﾝ情報";

// Reported planted beside downloaded programs, then those ours loaded from beside themselves
// under Wine before they kept the search to the system folder (Wine has no KnownDLLs).
// Not msimg32: Wine's uxtheme loads it when it first draws a themed control, through Wine's
// resolver of its own DLLs' delay imports, which searches the DLL path the process started
// with, the program's folder first, whatever SetDefaultDllDirectories said. Windows's uxtheme
// does not load it, and Windows's loader searches as the program said.
const std::vector<std::wstring> kPlanted = {
    L"version",     L"uxtheme", L"dwmapi",  L"cryptbase", L"profapi", L"propsys",
    L"TextShaping", L"imm32",   L"shlwapi", L"combase",   L"rpcrt4",
};

// The marker DLL of `exe`'s architecture, built beside this test.
fs::path MarkerFor(const fs::path& exe) {
  const std::string bytes = ReadBytes(exe);
  std::uint32_t header = 0;
  std::uint16_t machine = 0;
  if (bytes.size() >= 0x40) std::memcpy(&header, bytes.data() + 0x3C, sizeof(header));
  if (bytes.size() >= header + 6) std::memcpy(&machine, bytes.data() + header + 4, sizeof(machine));
  std::wstring self(MAX_PATH * 4, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return fs::path(self).parent_path() /
         (machine == IMAGE_FILE_MACHINE_I386 ? L"marker32.dll" : L"marker64.dll");
}

// Plants the marker under every name in each folder, and has Wine prefer a file found there
// for each name in `programs`, until the end. WINEDLLOVERRIDES=name=n,b would say the same,
// but Wine reads that variable from the environment it was itself started with: a program
// started by this test would not see it. Wine reads the same setting for one program from
// HKCU\Software\Wine\AppDefaults\<program>\DllOverrides.
class PlantedDlls {
 public:
  PlantedDlls(const fs::path& marker, std::vector<fs::path> folders,
              const std::vector<std::wstring>& programs)
      : folders_(std::move(folders)) {
    const std::wstring order = L"native,builtin";
    for (const std::wstring& program : programs) {
      keys_.push_back(L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides");
      UniqueHkey overrides;
      EXPECT_EQ(0, RegCreateKeyExW(HKEY_CURRENT_USER, keys_.back().c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, overrides.put(), nullptr));
      for (const std::wstring& name : kPlanted) {
        RegSetValueExW(overrides.get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(order.c_str()),
                       static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
      }
    }
    for (const fs::path& folder : folders_) {
      fs::create_directories(folder);
      for (const std::wstring& name : kPlanted) fs::copy_file(marker, folder / (name + L".dll"));
    }
  }
  ~PlantedDlls() {
    for (const std::wstring& key : keys_) {
      for (const std::wstring& name : kPlanted) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
      }
    }
  }
  PlantedDlls(const PlantedDlls&) = delete;
  PlantedDlls& operator=(const PlantedDlls&) = delete;

  // "<planted file>: <program that loaded it>", one line for each load.
  std::string Loads() const {
    std::string loads;
    for (const fs::path& folder : folders_) {
      for (const std::wstring& name : kPlanted) {
        const fs::path dll = folder / (name + L".dll");
        const std::string record = ReadBytes(dll.wstring() + L".loaded");
        if (record == "<absent>") continue;
        std::wstring programs(record.size() / sizeof(wchar_t), L'\0');
        std::memcpy(programs.data(), record.data(), programs.size() * sizeof(wchar_t));
        for (size_t start = 0, end; (end = programs.find(L'\n', start)) != programs.npos;
             start = end + 1) {
          loads += Utf8(dll.wstring() + L": " + programs.substr(start, end - start)) + "\n";
        }
      }
    }
    return loads;
  }

 private:
  std::vector<fs::path> folders_;
  std::vector<std::wstring> keys_;
};

// A program that `parent` is about to start, named `exe_name`; once it has started, ended:
// it is not the program's to end, and must not outlive the test. A process of that name the
// parent started before (Wine's desktop is an explorer.exe) is not it.
class StartedProcess {
 public:
  StartedProcess(DWORD parent, std::wstring exe_name)
      : parent_(parent), exeName_(std::move(exe_name)) {
    for (const ProcessEntry& p : ProcessesNamed(exeName_)) before_.push_back(p.id);
  }

  // False when none came by `deadline`.
  bool End(Deadline deadline = kWait) const {
    DWORD started = 0;
    WaitUntil(
        [&] {
          for (const ProcessEntry& p : ProcessesNamed(exeName_)) {
            if (p.parent == parent_ &&
                std::find(before_.begin(), before_.end(), p.id) == before_.end()) {
              started = p.id;
            }
          }
          return started != 0;
        },
        deadline);
    UniqueKernelHandle process(
        started ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, started) : nullptr);
    if (process && TerminateProcess(process.get(), 0)) {
      WaitForSingleObject(process.get(), static_cast<DWORD>(kWait.count()));
    }
    return started != 0;
  }

 private:
  DWORD parent_;
  std::wstring exeName_;
  std::vector<DWORD> before_;
};

// The whole job through the window, started from `current`: 実行 and its message, the About
// dialog and its ｼｽﾃﾑ情報, the target folder opened; then the window closed.
void WindowJob(const Workspace& workspace, const fs::path& current, const std::string& renamed) {
  Running app{Process::Start(workspace.exe(), current), nullptr};
  const DWORD pid = app.process.id();
  app.window = WaitForMainWindow(app.process);
  ASSERT_TRUE(app.window);

  SetText(app.control(IDC_TXTFOLDER), workspace.target_folder().wstring());
  Click(app.control(IDC_CMDEXECUTE));
  std::optional<MessageBoxInfo> box = WaitForMessageBox(pid, Deadline{60000});
  ASSERT_TRUE(box) << "no message after 実行";
  EXPECT_EQ(Utf8(box->text), Utf8(kCompletion));
  ASSERT_TRUE(Answer(*box));
  EXPECT_EQ(ReadBytes(workspace.list()), renamed);

  // Help, About; ｼｽﾃﾑ情報 starts the system information program or says it cannot.
  ASSERT_TRUE(MenuKeys(app.window, L'h', L'a'));
  HWND about = WaitForWindow(pid, L"#32770", kAboutCaption);
  ASSERT_TRUE(about) << "no About dialog";
  const StartedProcess sysInfo(pid, L"msinfo32.exe");
  Click(Control(about, IDC_ABOUT_SYSINFO));
  ASSERT_TRUE(WaitUntil([&] {
    box = WaitForMessageBox(pid, Deadline{0}, {about});
    return box || sysInfo.End(Deadline{0});
  })) << "ｼｽﾃﾑ情報 did nothing";
  if (box) {
    ASSERT_TRUE(Answer(*box));
  }
  Click(Control(about, IDC_ABOUT_OK));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); })) << "the About dialog stays";

  // File, 対象フォルダを開く...: explorer with the target folder.
  const StartedProcess explorer(pid, L"explorer.exe");
  Command(app.window, IDM_FOLDER);
  EXPECT_TRUE(explorer.End()) << "no explorer.exe started";

  PostMessageW(app.window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app.process.WaitExit(Deadline{60000})) << "the window did not close";
}

TEST(PlantedDlls, NoneIsLoadedThroughAWholeJobOfEitherProgram) {
  Workspace workspace(L"Downloads");
  const fs::path current = workspace.program_folder().parent_path() / L"current";
  const std::string list = ListOf({cp932::kMsMincho, cp932::kHeisei});
  const std::string renamed = Renamed(list, cp932::kMsMincho, "MS-Mincho");
  WriteBytes(workspace.fonts_txt(), Row(cp932::kMsMincho, "MS-Mincho"));
  WriteBytes(workspace.list(), list);
  WriteBytes(workspace.list(L"AdobeFnt.lst"), list);
  const fs::path fix = workspace.program_folder() / L"vemofix.exe";
  fs::copy_file(FixExe(), fix);
  const PlantedDlls planted(MarkerFor(ToolExe()), {workspace.program_folder(), current},
                            {workspace.exe().filename().wstring(), fix.filename().wstring()});

  WindowJob(workspace, current, renamed);
  const Finished run = RunToEnd(
      fix, {L"--illustrator", L"9", L"--folder", workspace.target_folder().wstring()}, current);
  EXPECT_EQ(run.status, 0u) << Utf8(run.out) << Utf8(run.err);
  EXPECT_EQ(ReadBytes(workspace.list(L"AdobeFnt.lst")), renamed);

  EXPECT_EQ(planted.Loads(), "");
}

}  // namespace
}  // namespace vemo::e2e
