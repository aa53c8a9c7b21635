#include "platform/win32/file_ranges_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/path.h"
#include "platform/system_error.h"
#include "platform/win32/handle.h"

namespace vemo {
namespace {

class Win32OpenFile : public OpenFile {
 public:
  explicit Win32OpenFile(const std::wstring& path)
      // Fonts in use stay readable: the system and other programs hold them open.
      : file_(::CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_) RaiseSystemError(::GetLastError());
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file_.get(), &size)) RaiseSystemError(::GetLastError());
    size_ = static_cast<std::uint64_t>(size.QuadPart);
  }

  std::uint64_t Size() const override { return size_; }

  std::string Read(std::uint64_t offset, std::size_t length) override {
    if (offset >= size_) return {};
    // ReadFile counts in DWORD; the reader asks for far less than 4 GB at a time.
    std::string bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>({length, size_ - offset, 0x7FFFFFFF})),
        '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>((offset + done) & 0xFFFFFFFFu);
      at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
      DWORD got = 0;
      if (!::ReadFile(file_.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                      &got, &at)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF) break;
        RaiseSystemError(error);
      }
      if (got == 0) break;  // the file became shorter since it was opened
      done += got;
    }
    bytes.resize(done);
    return bytes;
  }

 private:
  UniqueFile file_;
  std::uint64_t size_ = 0;
};

void CollectFiles(const std::wstring& folder, std::vector<std::wstring>& files) {
  WIN32_FIND_DATAW found;
  UniqueFind find(::FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
  if (!find) return;  // missing or unreadable: passed over
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = JoinPath(folder, name);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      files.push_back(path);
    } else if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      CollectFiles(path, files);
    }
  } while (::FindNextFileW(find.get(), &found));
}

}  // namespace

std::unique_ptr<OpenFile> Win32FileRanges::Open(const std::wstring& path) {
  return std::make_unique<Win32OpenFile>(path);
}

std::vector<std::wstring> Win32FileRanges::FilesUnder(const std::wstring& folder) {
  std::vector<std::wstring> files;
  CollectFiles(folder, files);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace vemo
