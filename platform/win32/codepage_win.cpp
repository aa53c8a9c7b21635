#include "platform/codepage.h"

#include <windows.h>

#include <limits>

#include "platform/runtime_error.h"
#include "platform/system_error.h"

namespace vemo {

namespace {

constexpr UINT kCp932 = 932;

// The conversion functions count in int; a string this long could not be held anyway.
int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw RuntimeError(err::kOutOfMemory);
  }
  return static_cast<int>(size);
}

}  // namespace

std::wstring WideFromCp932(std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = CheckedLength(bytes.size());
  const int length = ::MultiByteToWideChar(kCp932, 0, bytes.data(), size, nullptr, 0);
  if (length == 0) RaiseSystemError(::GetLastError());
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  if (::MultiByteToWideChar(kCp932, 0, bytes.data(), size, text.data(), length) == 0) {
    RaiseSystemError(::GetLastError());
  }
  return text;
}

std::string Cp932FromWide(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = CheckedLength(text.size());
  const char fallback[] = "?";
  const int length =
      ::WideCharToMultiByte(kCp932, 0, text.data(), size, nullptr, 0, fallback, nullptr);
  if (length == 0) RaiseSystemError(::GetLastError());
  std::string bytes(static_cast<std::size_t>(length), '\0');
  if (::WideCharToMultiByte(kCp932, 0, text.data(), size, bytes.data(), length, fallback,
                            nullptr) == 0) {
    RaiseSystemError(::GetLastError());
  }
  return bytes;
}

std::optional<std::string> Cp932FromWideExactly(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = CheckedLength(text.size());
  // Room for two bytes a character: CP932 needs no more.
  std::string bytes(text.size() * 2, '\0');
  BOOL usedDefault = FALSE;
  const int length =
      ::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(),
                            CheckedLength(bytes.size()), nullptr, &usedDefault);
  if (length == 0 || usedDefault) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(length));
  if (WideFromCp932(bytes) != text) return std::nullopt;
  return bytes;
}

}  // namespace vemo
