// vemofix's log (--log FILE): one line of UTF-8 text for each run, appended in one write, so
// that many computers can add to one log on a share at the same moment.
//
// A line is fields separated by tabs, each "key=value", in this order; a field that does not
// apply to the run is left out:
//   time      local time with its offset from UTC, 2026-12-24T08:30:05+09:00
//   computer  user  version
//   mode      fix, dry-run, restore, suggest or add-to-table
//   status    the exit status
//   list      the font list the run read (and wrote): the file Illustrator reads
//   applied  notfound  skipped   the table's rows that replaced an entry, found none, or were
//                                skipped as empty (fix and dry-run)
//   unusable  the entries Illustrator still cannot use after the rows (fix and dry-run)
//   backup    made or kept (fix)
//   error     the error's words, as printed      error_file  the file it concerns
// Control characters in a value are written as escapes ("\t", "\n", "\x01"), so that a record
// stays one line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "fontfix/rewrite_font_list.h"
#include "platform/workstation.h"

namespace vemo::cli {

struct RowCounts {
  std::size_t applied = 0, notFound = 0, skipped = 0;
};
RowCounts CountRows(const std::vector<RowOutcome>& outcomes);

// What a run did, filled in as it goes.
struct RunRecord {
  std::wstring mode;
  int status = 0;
  std::wstring list;
  std::optional<RowCounts> rows;
  std::optional<std::size_t> unusable;
  std::wstring backup;
  std::wstring error;
  std::wstring errorFile;
};

// Who ran it, where and when.
struct RunContext {
  LocalTime time;
  std::wstring computer;
  std::wstring user;
};

// The record's line, UTF-8, without a line end.
std::string LogLine(const RunRecord& record, const RunContext& context);

}  // namespace vemo::cli
