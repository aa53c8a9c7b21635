// Knobs of RewriteFontList's index, exposed so that tests can force its rare paths
// (content split into many small pieces, order labels running out) on small inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fontfix/fix_font_list.h"
#include "fontfix/font_table.h"

namespace vemo {

struct RewriteTuning {
  // Text between two "FontName:" entries is kept in pieces of about this many bytes, so
  // that a replacement copies at most one piece of the text that follows it.
  std::size_t pieceBytes = 4096;
  // Distance between the order labels of neighbouring pieces after (re)labelling.
  std::uint64_t labelGap = std::uint64_t{1} << 32;
};

RewrittenList RewriteFontListPieces(std::string_view content, const FontTable& table,
                                    const RewriteTuning& tuning,
                                    std::vector<RowOutcome>* outcomes = nullptr);
std::string RewriteFontList(std::string_view content, const FontTable& table,
                            const RewriteTuning& tuning,
                            std::vector<RowOutcome>* outcomes = nullptr);

}  // namespace vemo
