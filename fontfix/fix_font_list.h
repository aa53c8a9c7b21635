// The file job of the rewrite: the list read once, backed up from those very bytes, rewritten,
// and put in place; and FixFontList, the whole job of the window's 実行.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fontfix/font_table.h"
#include "fontfix/rewrite_font_list.h"

namespace vemo {

class FileSystem;
class Virtualization;

// What FixFontList reads from the main window, once, at its start.
struct FixFontListInput {
  bool opt10 = true;           // Illustrator 10: "AdobeFnt05.lst"; otherwise "AdobeFnt.lst"
  std::wstring folderText;     // txtFolder as typed
  std::wstring programFolder;  // where the backup is kept
};

// The list file and its backup.
struct ListPaths {
  std::wstring list;
  std::wstring backup;
};

// The paths the window's job works on: the list in the folder text's target folder, the
// backup in the program folder.
ListPaths ListPathsFor(const FixFontListInput& input);

// What a rewrite of the list file would do.
enum class ListPlan {
  kListMissing,  // nothing: no list file
  kMakeBackup,   // make the backup, then rewrite the list
  kKeepBackup,   // the backup is there already: rewrite the list only
};
ListPlan PlanListRewrite(const ListPaths& paths, FileSystem& files);

enum class Backup {
  kMade,  // by this run
  kKept,  // a file was there already and was left alone
};

// A list file rewritten: its bytes as read, and the rewrite, whose pieces view them.
struct ListRewrite {
  Backup backup = Backup::kKept;
  std::unique_ptr<const std::string> content;
  RewriteResult result;
};

// The file job: nothing when the list is missing. Otherwise, in four steps: reads the list
// once; backs it up from those bytes unless a file is there (the backup keeps the list as it
// was before the tool first changed it); rewrites them; puts the result in place atomically.
// Runtime errors pass through; the list is then exactly as it was, and the backup whole or
// absent.
std::optional<ListRewrite> RewriteListFile(const ListPaths& paths, const FontTable& table,
                                           FileSystem& files);

// Puts the backup's bytes in place of the list, atomically; the backup stays. Runtime errors
// pass through: a missing backup is error 53, and the list is then as it was.
void RestoreList(const ListPaths& paths, FileSystem& files);

// The list that FixFontList works on, as Illustrator sees it (IllustratorFileSystem).
struct IllustratorList {
  std::wstring path;  // as the window builds it, for the message that names a missing list
  std::wstring file;  // the file Illustrator reads: a VirtualStore copy, where that is it
};
IllustratorList IllustratorListFor(const FixFontListInput& input, FileSystem& files,
                                   Virtualization& virtualization);

// What the whole job did, and to which list.
struct FontListFix {
  IllustratorList list;  // `file` as it is after the job: the copy a denied write made
  std::optional<ListRewrite> rewrite;  // nothing when the list is missing
};

// The whole job, on the list and the backup that Illustrator sees. Nothing is read or written
// when the list file is missing. Runtime errors pass through unchanged; the list is then
// exactly as it was.
FontListFix FixFontList(const FixFontListInput& input, const FontTable& table, FileSystem& files,
                        Virtualization& virtualization);

}  // namespace vemo
