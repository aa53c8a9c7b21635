#include "bench/list_generator.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

namespace vemo::bench {
namespace {

class Writer {
 public:
  explicit Writer(std::uint32_t seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // Full-width katakana (0x8340-0x8396, no 0x837F); many trail bytes are ASCII letters.
  void Katakana(std::string& out, int count) {
    for (int i = 0; i < count; ++i) {
      int code = 0x8340 + Below(0x57);
      if (code >= 0x837F) ++code;
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    }
  }

  // Kanji of the first level (lead 0x88-0x97, trail 0x9F-0xFC).
  void Kanji(std::string& out, int count) {
    for (int i = 0; i < count; ++i) {
      out += static_cast<char>(0x89 + Below(14));
      out += static_cast<char>(0x9F + Below(0x5E));
    }
  }

 private:
  std::mt19937 random_;
};

const char* const kFamilies[] = {"VemoMincho", "VemoGothic", "KakuGothic", "MaruGothic",
                                 "Kyokasho",   "Gyosho",     "Kaisho",     "Antique"};
const char* const kWeights[] = {"ExtraLight", "Light", "Regular", "Medium", "Bold", "Heavy"};
const char* const kEncodings[] = {"83pv-RKSJ-H", "90ms-RKSJ-H", "90ms-RKSJ-V", "Identity-H"};

std::string PostScriptName(int index) {
  char name[96];
  std::snprintf(name, sizeof name, "%s-%s-%06d-%s", kFamilies[index % 8], kWeights[index % 6],
                index, kEncodings[index % 4]);
  return name;
}

}  // namespace

GeneratedList GenerateList(std::int32_t entries, std::uint32_t seed) {
  Writer w(seed);
  GeneratedList g;
  g.list.reserve(static_cast<std::size_t>(entries) * 420 + 64);
  g.list += "%!Adobe-FontList 1.13\r\n%Locale:0x411\r\n\r\n";
  for (int i = 0; i < entries; ++i) {
    std::string& out = g.list;
    out += "%BeginFont\r\nHandler:DirectoryHandler\r\nFontType:";
    out += i % 3 == 0 ? "TrueType" : "Type1";
    out += "\r\nFontName:" + PostScriptName(i) + "\r\nFamilyName:";
    w.Kanji(out, 2);
    w.Katakana(out, 3 + w.Below(4));
    out += "\r\nStyleName:";
    w.Katakana(out, 2 + w.Below(3));
    out += "\r\nFullName:";
    w.Kanji(out, 2);
    w.Katakana(out, 4 + w.Below(4));
    out += " W" + std::to_string(3 + i % 7) + "\r\nWritingScript:Japanese\r\nOutlineFileName:";
    out += "C:\\WINDOWS\\Fonts\\VF" + std::to_string(i) + (i % 3 == 0 ? ".TTC" : ".OTF");
    out += "\r\nDataFormat:sfntData\r\nUsesStandardEncoding:no\r\nisCFF:";
    out += i % 3 == 0 ? "no" : "yes";
    out += "\r\nFileLength:" + std::to_string(1000000 + w.Below(9000000));
    out += "\r\nFileModTime:" + std::to_string(1000000000 + w.Below(100000000));
    out += "\r\nWeightClass:" + std::to_string(100 * (1 + i % 9)) + "\r\n%EndFont\r\n\r\n";
  }

  // Rows for fonts spread evenly through the list, in shuffled order.
  std::vector<int> rows(FontTable::kRows);
  std::iota(rows.begin(), rows.end(), 0);
  std::shuffle(rows.begin(), rows.end(), std::mt19937(seed));
  for (int r = 0; r < FontTable::kRows; ++r) {
    const int index =
        static_cast<int>(static_cast<long long>(rows[r]) * entries / FontTable::kRows);
    const std::string current = PostScriptName(index);
    const std::string replacement = "Fixed-" + current;
    g.tableText += current + "," + replacement + "\r\n";
    g.table.Append(current, replacement);
  }
  return g;
}

}  // namespace vemo::bench
