#include "fontfix/fix_font_list.h"

#include "platform/file_system.h"
#include "platform/ui.h"

namespace vemo {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\u3000';
}

}  // namespace

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

bool FixFontList(const FixFontListInput& input, const FontTable& table, std::int32_t fontCount,
                 FileSystem& files, Ui& ui) {
  const std::wstring listName = input.opt10 ? L"AdobeFnt05.lst" : L"AdobeFnt.lst";
  const std::wstring listPath = TargetFolder(input.folderText) + listName;
  const std::wstring backupPath = input.programFolder + L"\\" + listName + L" のバックアップ";
  if (FixListFile(listPath, backupPath, table, fontCount, files) == ListFix::kMissing) {
    ui.ShowMessage(L"次のファイルが存在しません。\r\n" + listPath, MessageStyle::kExclamation);
    return false;
  }
  return true;
}

ListFix FixListFile(const std::wstring& listPath, const std::wstring& backupPath,
                    const FontTable& table, std::int32_t fontCount, FileSystem& files,
                    std::vector<RowOutcome>* outcomes) {
  if (!files.FileExists(listPath)) return ListFix::kMissing;
  // One read: the backup holds exactly the bytes that are rewritten, even when another
  // program changes the list meanwhile.
  const std::string content = files.ReadWholeFile(listPath);
  // Made once: it keeps the list as it was before the tool first changed it.
  const bool backedUp = files.CreateWholeFile(backupPath, content);
  const std::string rewritten = RewriteFontList(content, table, fontCount, outcomes);
  files.ReplaceWholeFile(listPath, rewritten);
  return backedUp ? ListFix::kBackedUpRewritten : ListFix::kRewritten;
}

}  // namespace vemo
