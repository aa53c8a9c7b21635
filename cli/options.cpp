#include "cli/options.h"

#include "fontfix/list_location.h"

namespace vemo::cli {
namespace {

bool TakesValue(const std::wstring& name) {
  return name == L"--illustrator" || name == L"--folder" || name == L"--table" ||
         name == L"--backup-dir" || name == L"--fonts" || name == L"--log";
}

struct Flag {
  const wchar_t* name;
  bool Options::*field;
};
constexpr Flag kFlags[] = {
    {L"--dry-run", &Options::dryRun},
    {L"--restore", &Options::restore},
    {L"--quiet", &Options::quiet},
    {L"--help", &Options::help},
    {L"--version", &Options::version},
    {L"--suggest", &Options::suggest},
    {L"--add-to-table", &Options::addToTable},
};

// False when `name` is no option without a value.
bool SetFlag(Options& options, const std::wstring& name) {
  for (const Flag& flag : kFlags) {
    if (name == flag.name) {
      options.*flag.field = true;
      return true;
    }
  }
  return false;
}

void SetValue(Options& options, const std::wstring& name, const std::wstring& value) {
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
  } else if (name == L"--log") {
    options.log = value;
  } else {
    options.backupDir = value;
  }
}

// Refuses options that do not go together; with --help or --version anything goes.
void CheckCombination(const Options& options) {
  if (options.help || options.version) return;
  if (options.dryRun && options.restore) throw UsageError{UsageError::Kind::kDryRunRestore, L""};
  if (options.suggest && (options.dryRun || options.restore))
    throw UsageError{UsageError::Kind::kSuggestWith, options.dryRun ? L"--dry-run" : L"--restore"};
  if (options.addToTable && !options.suggest)
    throw UsageError{UsageError::Kind::kAddWithoutSuggest, L""};
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
      if (equals != std::wstring::npos || !SetFlag(options, name))
        throw UsageError{UsageError::Kind::kUnknownOption, arg};
    } else if (equals != std::wstring::npos) {
      SetValue(options, name, arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      SetValue(options, name, args[++i]);
    } else {
      throw UsageError{UsageError::Kind::kMissingValue, name};
    }
  }
  CheckCombination(options);
  return options;
}

std::wstring ListName(const Options& options) {
  return ListFileName(options.illustrator == 10);
}

}  // namespace vemo::cli
