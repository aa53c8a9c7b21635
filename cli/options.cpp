#include "cli/options.h"

#include "fontfix/list_location.h"

namespace vemo::cli {
namespace {

bool TakesValue(const std::wstring& name) {
  return name == L"--illustrator" || name == L"--folder" || name == L"--table" ||
         name == L"--backup-dir" || name == L"--fonts";
}

}  // namespace

Options ParseOptions(const std::vector<std::wstring>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (!arg.starts_with(L"--")) throw UsageError{UsageError::Kind::kExtraArgument, arg};
    const std::size_t equals = arg.find(L'=');
    const std::wstring name = arg.substr(0, equals);
    if (!TakesValue(name)) {
      if (equals != std::wstring::npos) throw UsageError{UsageError::Kind::kUnknownOption, arg};
      if (name == L"--dry-run")
        options.dryRun = true;
      else if (name == L"--restore")
        options.restore = true;
      else if (name == L"--quiet")
        options.quiet = true;
      else if (name == L"--help")
        options.help = true;
      else if (name == L"--version")
        options.version = true;
      else if (name == L"--suggest")
        options.suggest = true;
      else if (name == L"--add-to-table")
        options.addToTable = true;
      else
        throw UsageError{UsageError::Kind::kUnknownOption, arg};
      continue;
    }
    std::wstring value;
    if (equals != std::wstring::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw UsageError{UsageError::Kind::kMissingValue, name};
    }
    if (name == L"--illustrator") {
      if (value != L"10" && value != L"8" && value != L"9")
        throw UsageError{UsageError::Kind::kBadVersion, value};
      options.illustrator = std::stoi(value);
    } else if (name == L"--folder") {
      options.folder = value;
    } else if (name == L"--table") {
      options.table = value;
    } else if (name == L"--fonts") {
      options.fonts.push_back(value);
    } else {
      options.backupDir = value;
    }
  }
  if (options.dryRun && options.restore && !options.help && !options.version)
    throw UsageError{UsageError::Kind::kDryRunRestore, L""};
  if (options.help || options.version) return options;
  if (options.suggest && (options.dryRun || options.restore))
    throw UsageError{UsageError::Kind::kSuggestWith, options.dryRun ? L"--dry-run" : L"--restore"};
  if (options.addToTable && !options.suggest)
    throw UsageError{UsageError::Kind::kAddWithoutSuggest, L""};
  return options;
}

std::wstring ListName(const Options& options) {
  return ListFileName(options.illustrator == 10);
}

}  // namespace vemo::cli
