// vemofix: the window's job from a command line, on the same table and rewrite.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/console.h"
#include "fontfix/fix_font_list.h"

namespace vemo {
class FileRanges;
class FileSystem;
class RunningPrograms;
class Virtualization;
class Workstation;
}  // namespace vemo

namespace vemo::cli {

enum class Language { kEnglish, kJapanese };

// Exit status.
inline constexpr int kDone = 0;
inline constexpr int kListMissing = 1;
inline constexpr int kUsage = 2;
inline constexpr int kRuntimeError = 3;
// --suggest: some entries have no suggestion or several, or a row could not be added.
inline constexpr int kUnresolved = 4;
// Illustrator or Photoshop runs: nothing was touched.
inline constexpr int kAdobeRunning = 5;

// What the platform tells vemofix about where it runs.
struct Environment {
  Language language = Language::kEnglish;
  std::wstring programFolder;                 // "Fonts.txt" is looked for here by default
  std::optional<std::wstring> defaultFolder;  // the target folder without --folder
  wchar_t separator = L'/';                   // L'\\' on Windows
  std::vector<std::wstring> fontFolders;      // --suggest reads these without --fonts
  // Linux: the Wine prefix in which a list's "C:\..." paths lie; none on Windows.
  std::optional<std::wstring> winePrefix;
};

// The doors vemofix goes through. The list and the backup are the files Illustrator sees
// (IllustratorFileSystem over `files` and `virtualization`); --suggest reads fonts through
// `fonts`; `programs` says whether Illustrator or Photoshop runs; `workstation` names the
// computer, the user and the time for the log; everything printed goes to `console`.
struct Services {
  FileSystem& files;
  Virtualization& virtualization;
  FileRanges& fonts;
  RunningPrograms& programs;
  Workstation& workstation;
  Console& console;
};

// Runs vemofix with `args` (the arguments after the program name) and returns its exit
// status.
int RunVemofix(const std::vector<std::wstring>& args, const Environment& environment,
               const Services& services);

// The report's lines for rows 1..outcomes.size() of `table`, for the entries Illustrator
// still cannot use after them, and the summary line, each ending in "\n". Names are CP932
// bytes, shown converted.
std::wstring RowReport(const FontTable& table, const std::vector<RowOutcome>& outcomes,
                       Language language);
std::wstring UnusableReport(const RewriteResult& result, Language language);
std::wstring Summary(const std::vector<RowOutcome>& outcomes, bool dryRun, Language language);

// A folder of vemofix's options (or the program's) joined with a name: on Windows the folder
// is read as the window reads its folder box (TargetFolder), elsewhere joined with JoinPath.
std::wstring InFolder(const std::wstring& folder, const std::wstring& name, wchar_t separator);
// The folder part of a path ("\" and "/" both separate), and "." (the current folder) for a
// bare name, which FolderOfPath gives as empty; the separator kept at a root ("/", "C:\").
std::wstring FolderOrCurrent(const std::wstring& path);

// Whether the POSIX locale variables name Japanese: the first set one of LC_ALL,
// LC_MESSAGES and LANG starts with "ja". Null or empty means unset.
bool IsJapaneseLocale(const char* lcAll, const char* lcMessages, const char* lang);
// Where a Windows path ("X:\..." or "X:/...") of the Wine prefix `prefix` lies here: drive C
// in the prefix's own drive_c folder, any other drive through Wine's link for it
// (dosdevices/x:); a path of this system ("/...") is itself; anything else lies nowhere:
// empty.
std::wstring InWinePrefix(std::wstring_view prefix, std::wstring_view windowsPath);
// The Wine prefix itself: $WINEPREFIX, else $HOME/.wine; nothing when neither is set.
std::optional<std::wstring> WinePrefix(const std::optional<std::wstring>& winePrefix,
                                       const std::optional<std::wstring>& home);

}  // namespace vemo::cli
