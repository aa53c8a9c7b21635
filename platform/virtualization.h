// UAC file virtualization: what Windows Vista to 11 does with the files a program without an
// execution level in its manifest (Illustrator 8 to 10) writes under Program Files. Our own
// programs declare one and are not virtualized, so they ask where Illustrator's files are.
#pragma once

#include <string>
#include <vector>

namespace vemo {

struct VirtualizationFacts {
  // Whether Windows virtualizes the file writes of this user's programs started normally.
  bool inForce = false;
  // The Windows folder: only its volume is virtualized.
  std::wstring windowsFolder;
  // The folders whose files are virtualized besides the Windows folder: Program Files (the
  // 32- and the 64-bit one) and ProgramData. Absolute, long names.
  std::vector<std::wstring> programFolders;
  // %LOCALAPPDATA%\VirtualStore: a virtualized file's copy is this & its path without drive.
  std::wstring storeFolder;
};

class Virtualization {
 public:
  virtual ~Virtualization() = default;
  virtual VirtualizationFacts Facts() = 0;
  // `path` made absolute, with the long names of the folders and the file that exist.
  virtual std::wstring FullLongPath(const std::wstring& path) = 0;
};

// Where nothing is virtualized: Windows XP, Wine, Linux.
class NoVirtualization final : public Virtualization {
 public:
  VirtualizationFacts Facts() override { return {}; }
  std::wstring FullLongPath(const std::wstring& path) override { return path; }
};

}  // namespace vemo
