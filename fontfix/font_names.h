// The names a TrueType or OpenType font file gives its faces: the PostScript name and the
// Japanese names a font list may register a face under. Only the table directory and the
// `name` table are read, through OpenFile, never the whole file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vemo {

class OpenFile;

// Why a file gave no names. Nothing is read outside the file, whatever its bytes claim.
enum class FontSkip {
  kNone,
  kNotAFont,        // its first bytes are no TrueType, OpenType or collection signature
  kShort,           // it ends inside its header, its collection's face list or a directory
  kPastEnd,         // the directory puts a face or the name table past the file's end
  kNoNameTable,     // a face without a `name` table
  kRecordCount,     // the name table is too short for its header or its record count
  kRecordPastEnd,   // a name record's text lies past the end of the name table
  kOddUtf16Length,  // a UTF-16 name record with an odd number of bytes
  kLoneSurrogate,   // a UTF-16 name record with half of a surrogate pair
  kFaceCount,       // a collection of no faces, or of more than kMaxFaces
  kUnreadable,      // set by callers: the system could not open or read the file
};

// More faces than any collection has: such a count is taken as damage.
inline constexpr std::uint32_t kMaxFaces = 4096;

struct FaceNames {
  std::uint32_t face = 0;  // its number in a collection; 0 in a single font
  // Name ID 6 as CP932 bytes (it is ASCII in every font meant for a font list); empty when
  // the face has none or its characters are not all in CP932.
  std::string postScript;
  // In CP932, from the Japanese records of the Windows platform (3, 1, language 0x0411,
  // UTF-16BE) and of the Macintosh platform (1, 1, language 11, Shift_JIS bytes kept as they
  // are): ID 4; ID 1, and ID 1 & " " & ID 2 unless ID 2 is "Regular" in any letter case or
  // "標準"; ID 16 with ID 17 likewise. A name CP932 cannot hold exactly is left out.
  std::vector<std::string> japanese;
};

struct FontFileNames {
  FontSkip skip = FontSkip::kNone;
  bool collection = false;       // a `ttcf` file
  std::vector<FaceNames> faces;  // every face, in the file's order; none when skipped
};

FontFileNames ReadFontNames(OpenFile& file);

}  // namespace vemo
