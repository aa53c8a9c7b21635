#include "fontfix/fix_font_list.h"

#include "fontfix/folder_text.h"
#include "fontfix/list_location.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace vemo {

ListPaths ListPathsFor(const FixFontListInput& input) {
  const std::wstring listName = ListFileName(input.opt10);
  return {JoinPath(TargetFolder(input.folderText), listName),
          JoinPath(input.programFolder, BackupFileName(listName))};
}

ListPlan PlanListRewrite(const ListPaths& paths, FileSystem& files) {
  if (!files.FileExists(paths.list)) return ListPlan::kListMissing;
  return files.FileExists(paths.backup) ? ListPlan::kKeepBackup : ListPlan::kMakeBackup;
}

std::optional<ListRewrite> RewriteListFile(const ListPaths& paths, const FontTable& table,
                                           FileSystem& files) {
  const ListPlan plan = PlanListRewrite(paths, files);
  if (plan == ListPlan::kListMissing) return std::nullopt;
  ListRewrite rewrite;
  // Read once: the backup holds exactly the bytes that are rewritten, even when another
  // program changes the list meanwhile.
  rewrite.content = std::make_unique<const std::string>(files.ReadWholeFile(paths.list));
  // Back up: another run may make the backup first; then that one stays.
  const bool made =
      plan == ListPlan::kMakeBackup && files.CreateWholeFile(paths.backup, *rewrite.content);
  rewrite.backup = made ? Backup::kMade : Backup::kKept;
  rewrite.result = RewriteFontList(*rewrite.content, table);
  // Write: the unchanged stretches go straight from the content as read.
  files.ReplaceWholeFile(paths.list, rewrite.result.list.pieces);
  return rewrite;
}

void RestoreList(const ListPaths& paths, FileSystem& files) {
  files.ReplaceWholeFile(paths.list, files.ReadWholeFile(paths.backup));
}

IllustratorList IllustratorListFor(const FixFontListInput& input, FileSystem& files,
                                   Virtualization& virtualization) {
  const std::wstring path = ListPathsFor(input).list;
  IllustratorFileSystem illustratorFiles(files, virtualization);
  return {path, illustratorFiles.FileFor(path)};
}

FontListFix FixFontList(const FixFontListInput& input, const FontTable& table, FileSystem& files,
                        Virtualization& virtualization) {
  const ListPaths paths = ListPathsFor(input);
  IllustratorFileSystem illustratorFiles(files, virtualization);
  FontListFix fix;
  fix.rewrite = RewriteListFile(paths, table, illustratorFiles);
  fix.list = {paths.list, illustratorFiles.FileFor(paths.list)};
  return fix;
}

}  // namespace vemo
