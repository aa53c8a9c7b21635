// Reading parts of files: a font file of 20 MB needs only its table directory and its name
// table read. Paths as everywhere: UTF-16 on Windows, UTF-32 elsewhere. Every failure raises
// RuntimeError with the number a user would see.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vemo {

class OpenFile {
 public:
  virtual ~OpenFile() = default;
  // The file's size when it was opened.
  virtual std::uint64_t Size() const = 0;
  // `length` bytes from `offset`; fewer only where the file ends first.
  virtual std::string Read(std::uint64_t offset, std::size_t length) = 0;
};

class FileRanges {
 public:
  virtual ~FileRanges() = default;
  // The file at `path`, open for reading; other programs may read and write it meanwhile.
  virtual std::unique_ptr<OpenFile> Open(const std::wstring& path) = 0;
  // Every ordinary file in `folder` and in its subfolders, sorted by path; nothing when the
  // folder does not exist. Links to files count as files; links to folders are not entered.
  virtual std::vector<std::wstring> FilesUnder(const std::wstring& folder) = 0;
};

// An OpenFile over bytes in memory, for tests and the fuzzer.
class BytesFile : public OpenFile {
 public:
  explicit BytesFile(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::string Read(std::uint64_t offset, std::size_t length) override {
    if (offset >= bytes_.size()) return {};
    return std::string(bytes_.substr(static_cast<std::size_t>(offset), length));
  }

 private:
  std::string_view bytes_;
};

}  // namespace vemo
