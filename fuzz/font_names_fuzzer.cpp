// Fuzzes the font name reader: any bytes read as names or are skipped with a reason, and
// nothing is asked for past the file's end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fontfix/font_names.h"
#include "fuzz/fuzz_check.h"
#include "platform/file_ranges.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemo;
  BytesFile bytes(std::string_view(reinterpret_cast<const char*>(data), size));
  CountingFile file(bytes);
  const FontFileNames names = ReadFontNames(file);
  fuzz::Require(!file.askedPastEnd, "a read past the end of the file");
  fuzz::Require(names.faces.empty() == (names.skip != FontSkip::kNone),
                "a file gave no faces without a reason, or faces and a reason");
  fuzz::Require(names.faces.size() <= kMaxFaces, "more faces than a collection may have");
  for (const FaceNames& face : names.faces) {
    fuzz::Require(names.collection || face.face == 0, "a face number in a single font");
    for (const std::string& name : face.japanese) fuzz::Require(!name.empty(), "an empty name");
  }
  return 0;
}
