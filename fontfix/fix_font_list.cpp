#include "fontfix/fix_font_list.h"

#include "fontfix/list_location.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace vemo {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\u3000';
}

std::wstring TrimBlanks(std::wstring_view text) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && IsBlank(text[start])) ++start;
  while (end > start && IsBlank(text[end - 1])) --end;
  return std::wstring(text.substr(start, end - start));
}

std::wstring TargetFolder(std::wstring_view folderText) {
  std::wstring folder = TrimBlanks(folderText);
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

FontListFix FixFontList(const FixFontListInput& input, const FontTable& table, FileSystem& files,
                        Virtualization& virtualization) {
  const std::wstring listName = ListFileName(input.opt10);
  const std::wstring listPath = TargetFolder(input.folderText) + listName;
  const std::wstring backupPath = JoinPath(input.programFolder, BackupFileName(listName));
  IllustratorFileSystem illustrators(files, virtualization);
  return {FixListFile(listPath, backupPath, table, illustrators), listPath};
}

ListFix PlanListFix(const std::wstring& listPath, const std::wstring& backupPath,
                    FileSystem& files) {
  if (!files.FileExists(listPath)) return ListFix::kMissing;
  return files.FileExists(backupPath) ? ListFix::kRewritten : ListFix::kBackedUpRewritten;
}

ListFix FixListFile(const std::wstring& listPath, const std::wstring& backupPath,
                    const FontTable& table, FileSystem& files, std::vector<RowOutcome>* outcomes) {
  const ListFix plan = PlanListFix(listPath, backupPath, files);
  if (plan == ListFix::kMissing) return ListFix::kMissing;
  // One read: the backup holds exactly the bytes that are rewritten, even when another
  // program changes the list meanwhile.
  const std::string content = files.ReadWholeFile(listPath);
  // Made once: it keeps the list as it was before the tool first changed it. Another run
  // may make it first; then that one stays.
  const bool backedUp =
      plan == ListFix::kBackedUpRewritten && files.CreateWholeFile(backupPath, content);
  // The unchanged stretches are written straight from `content`.
  const RewrittenList rewritten = RewriteFontListPieces(content, table, outcomes);
  files.ReplaceWholeFile(listPath, rewritten.pieces);
  return backedUp ? ListFix::kBackedUpRewritten : ListFix::kRewritten;
}

}  // namespace vemo
