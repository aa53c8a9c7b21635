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

// Counts what is read through it, and whether anything was asked for past the file's end:
// for the benchmark, the tests and the fuzzer.
class CountingFile : public OpenFile {
 public:
  explicit CountingFile(OpenFile& file) : file_(file) {}
  std::uint64_t Size() const override { return file_.Size(); }
  std::string Read(std::uint64_t offset, std::size_t length) override {
    if (offset > Size() || length > Size() - offset) askedPastEnd = true;
    std::string bytes = file_.Read(offset, length);
    bytesRead += bytes.size();
    return bytes;
  }

  std::uint64_t bytesRead = 0;
  bool askedPastEnd = false;

 private:
  OpenFile& file_;
};

}  // namespace vemo
