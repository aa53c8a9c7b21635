// Where Illustrator keeps its font list.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vemo {

class Virtualization;

// The list of Illustrator 10, "AdobeFnt05.lst", or of 8 and 9, "AdobeFnt.lst".
std::wstring ListFileName(bool illustrator10);

// The backup of a list: its name & " のバックアップ". Made once, never overwritten.
std::wstring BackupFileName(std::wstring_view listName);

// The first line of the message for a list that is not there; its full path follows.
inline constexpr wchar_t kMissingListText[] = L"次のファイルが存在しません。";

// Where Illustrator 8, 9 and 10 install it on Japanese Windows.
inline constexpr wchar_t kDefaultListFolder[] = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";

// The folder to start with: kDefaultListFolder when it exists; else, when it does not, the
// TypeSpt folder under the Common Files folder of 32-bit programs (`commonFiles32`), where a
// 32-bit Illustrator keeps it on 64-bit Windows, when that one exists; else
// kDefaultListFolder.
std::wstring StartListFolder(const std::wstring& commonFiles32,
                             const std::function<bool(const std::wstring&)>& folderExists);

// A file of Illustrator's as Illustrator, started normally by this user, sees it. On Windows
// Vista to 11 with UAC, Windows gives a program like Illustrator 8 to 10 the user's
// VirtualStore copy of a file under Program Files, ProgramData or the Windows folder when
// there is one, and writes that copy when writing the file itself is denied.
struct IllustratorFile {
  // The file to read, back up from and write: the VirtualStore copy when there is one.
  std::wstring path;
  // Where the new bytes go instead when writing `path` is denied: the VirtualStore copy
  // Windows would make. Empty where Windows would not virtualize, and when `path` is the copy.
  std::wstring copy;
};

// The one rule for every file of Illustrator's that the tool reads or writes (the list and
// the backup): when virtualization is in force for this user and `path`, made absolute and
// long, lies on the Windows volume under one of the virtualized folders, the VirtualStore
// copy is the file when it exists; otherwise `path` is, as given.
IllustratorFile ResolveIllustratorFile(const std::wstring& path, Virtualization& virtualization,
                                       FileSystem& files);

// The files as Illustrator sees them: every path goes through ResolveIllustratorFile, and a
// denied write of a virtualized file becomes the VirtualStore copy (its folders made), the
// file itself left as it was. A read-only file, or one in use, is refused as before.
class IllustratorFileSystem : public FileSystem {
 public:
  IllustratorFileSystem(FileSystem& files, Virtualization& virtualization)
      : files_(files), virtualization_(virtualization) {}

  // The file that `path` stands for now.
  std::wstring FileFor(const std::wstring& path) { return Resolve(path).path; }

  bool FileExists(const std::wstring& path) override;
  std::string ReadWholeFile(const std::wstring& path) override;
  bool CreateWholeFile(const std::wstring& path, std::string_view bytes) override;
  void ReplaceWholeFile(const std::wstring& path,
                        std::span<const std::string_view> pieces) override;
  using FileSystem::ReplaceWholeFile;
  void CreateFolders(const std::wstring& folder) override;

 private:
  IllustratorFile Resolve(const std::wstring& path);

  FileSystem& files_;
  Virtualization& virtualization_;
};

}  // namespace vemo
