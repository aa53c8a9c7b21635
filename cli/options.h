// vemofix's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vemo::cli {

struct Options {
  int illustrator = 10;  // 10: "AdobeFnt05.lst"; 8 or 9: "AdobeFnt.lst"
  std::optional<std::wstring> folder;
  std::optional<std::wstring> table;
  std::optional<std::wstring> backupDir;
  bool dryRun = false;
  bool restore = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
  bool suggest = false;             // propose rows for the table from the fonts
  bool addToTable = false;          // with suggest: append them to the table
  std::vector<std::wstring> fonts;  // --fonts, in the order given
  std::optional<std::wstring> log;  // a record of the run is appended to it
};

// What is wrong with a command line; ends the program with status 2.
struct UsageError {
  enum class Kind {
    kUnknownOption,      // subject: the option
    kMissingValue,       // subject: the option
    kBadVersion,         // subject: the value given to --illustrator
    kExtraArgument,      // subject: the argument
    kDryRunRestore,      // --dry-run with --restore
    kNoDefaultFolder,    // no --folder, and no Wine prefix to find the folder in
    kSuggestWith,        // --suggest with the subject (--dry-run or --restore)
    kAddWithoutSuggest,  // --add-to-table without --suggest
  };
  Kind kind;
  std::wstring subject;
};

// The arguments after the program name. Options take their value as the next argument or
// after "=" ("--folder=DIR"); a later option overrides an earlier one. Throws UsageError.
Options ParseOptions(const std::vector<std::wstring>& args);

// "AdobeFnt05.lst" for Illustrator 10, "AdobeFnt.lst" for 8 and 9.
std::wstring ListName(const Options& options);

}  // namespace vemo::cli
