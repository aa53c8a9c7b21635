// CP932 through the C library's iconv. "WCHAR_T" is the host's wchar_t encoding: UTF-32.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <string>
#include <utility>

#include "platform/codepage.h"
#include "platform/posix/handle.h"
#include "platform/runtime_error.h"

namespace vemo {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {
    // Without the converter nothing can be shown; glibc always has CP932.
    if (!cd_) throw RuntimeError(err::kDeviceUnavailable);
  }

  // Converts all of `in` into `out`. Where the input cannot be converted, `onBad` appends
  // its stand-in to `out` and returns how many input bytes it stands for.
  template <typename OnBad>
  void Convert(std::string_view in, std::string& out, OnBad onBad) {
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t done = ::iconv(cd_.get(), &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (done != static_cast<std::size_t>(-1) || error == E2BIG) continue;
      const std::size_t skipped = std::min(onBad(out), inLeft);
      inPtr += skipped;
      inLeft -= skipped;
      ::iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }

 private:
  UniqueIconv cd_;
};

std::wstring Decoded(Converter& decoder, std::string_view bytes) {
  std::string raw;
  decoder.Convert(bytes, raw, [](std::string& out) {
    const wchar_t replacement = L'\uFFFD';
    out.append(reinterpret_cast<const char*>(&replacement), sizeof replacement);
    return std::size_t{1};
  });
  std::wstring text(raw.size() / sizeof(wchar_t), L'\0');
  raw.copy(reinterpret_cast<char*>(text.data()), text.size() * sizeof(wchar_t));
  return text;
}

}  // namespace

std::wstring WideFromCp932(std::string_view bytes) {
  Converter decoder("WCHAR_T", "CP932");
  return Decoded(decoder, bytes);
}

std::string Cp932FromWide(std::wstring_view text) {
  std::string bytes;
  Converter converter("CP932", "WCHAR_T");
  converter.Convert(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)),
      bytes, [](std::string& out) {
        out += '?';
        return sizeof(wchar_t);
      });
  return bytes;
}

std::optional<std::string> Cp932FromWideExactly(std::wstring_view text) {
  // Single bytes Windows reads and writes and glibc's CP932 refuses.
  static constexpr std::pair<wchar_t, char> kWindowsOnly[] = {{L'\u0080', '\x80'},
                                                              {L'\uF8F0', '\xA0'},
                                                              {L'\uF8F1', '\xFD'},
                                                              {L'\uF8F2', '\xFE'},
                                                              {L'\uF8F3', '\xFF'}};
  std::string bytes;
  Converter encoder("CP932", "WCHAR_T");
  Converter decoder("WCHAR_T", "CP932");
  bool held = true;
  for (wchar_t c : text) {
    const auto special = std::find_if(std::begin(kWindowsOnly), std::end(kWindowsOnly),
                                      [c](const auto& entry) { return entry.first == c; });
    if (special != std::end(kWindowsOnly)) {
      bytes += special->second;
      continue;
    }
    std::string one;
    encoder.Convert(std::string_view(reinterpret_cast<const char*>(&c), sizeof c), one,
                    [&held](std::string&) {
                      held = false;
                      return sizeof(wchar_t);
                    });
    // A best-fit look-alike does not read back as the character it stands for.
    if (!held || one.empty() || Decoded(decoder, one) != std::wstring(1, c)) return std::nullopt;
    bytes += one;
  }
  return bytes;
}

}  // namespace vemo
