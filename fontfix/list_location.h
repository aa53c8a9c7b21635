// Where Illustrator keeps its font list.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The folders Illustrator may keep its list in, in the order they are tried: the TypeSpt
// folder under the Common Files folder the shell gives a 32-bit program (`commonFiles32`;
// "C:\Program Files (x86)\Common Files" on 64-bit Windows), then kDefaultListFolder. One
// folder where both name the same one (32-bit Windows), kDefaultListFolder alone where the
// shell does not know the first.
std::vector<std::wstring> ListFolderCandidates(const std::wstring& commonFiles32);

// The folder and version both programs start with.
struct StartList {
  std::wstring folder;
  bool illustrator10 = true;
};

// The first candidate whose "AdobeFnt05.lst", as Illustrator sees it through
// `illustratorFiles`, exists; failing that the first whose "AdobeFnt.lst" does, with
// Illustrator 8 or 9; failing that the first that `folderExists`; failing all,
// kDefaultListFolder.
StartList ChooseStartList(const std::wstring& commonFiles32, FileSystem& illustratorFiles,
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
  // Not Illustrator's: the file itself.
  void AppendToFile(const std::wstring& path, std::string_view bytes) override;

 private:
  IllustratorFile Resolve(const std::wstring& path);

  FileSystem& files_;
  Virtualization& virtualization_;
};

}  // namespace vemo
