// vemofix --suggest [--add-to-table]: rows for the table proposed from the fonts, and their
// report in the user's language.
#pragma once

#include <string>

#include "cli/options.h"
#include "cli/vemofix.h"

namespace vemo {
class FileRanges;
class FileSystem;
}  // namespace vemo

namespace vemo::cli {

// What the run read: the list (the file Illustrator reads) and the table.
struct SuggestFiles {
  const std::wstring& listFile;
  const std::string& list;
  const std::wstring& tablePath;
  const std::string& tableBytes;
};

// Reports a suggestion for every entry of the list that needs one and, with --add-to-table,
// replaces the table with the rows added (through `files`). Returns
// kDone, or kUnresolved when an entry got no suggestion or several, or a row could not be
// added. Runtime errors pass through; the table is then as it was.
int RunSuggest(const SuggestFiles& paths, const Options& options, const Environment& environment,
               FileSystem& files, FileRanges& fonts, Console& console);

// The local path of a list's "OutlineFileName:" value (CP932): on Windows the value itself;
// with a Wine prefix, "X:\..." inside the prefix's dosdevices/x: and a "/..." path as it is;
// empty for anything else.
std::wstring OutlinePath(std::string_view value, const std::optional<std::wstring>& winePrefix);

}  // namespace vemo::cli
