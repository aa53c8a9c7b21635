#include "cli/options.h"

#include "fontfix/list_location.h"

namespace vemo::cli {
namespace {

void TakeVersion(Options& options, const std::wstring& value) {
  if (value != L"10" && value != L"8" && value != L"9")
    throw UsageError{UsageError::Kind::kBadVersion, value};
  options.illustrator = std::stoi(value);
}

// Every option, once: a flag sets its field; an option with a value hands it to `take`.
struct OptionSpec {
  const wchar_t* name;
  bool Options::*flag;
  void (*take)(Options&, const std::wstring&);
};
constexpr OptionSpec kOptions[] = {
    {L"--illustrator", nullptr, TakeVersion},
    {L"--folder", nullptr, [](Options& o, const std::wstring& v) { o.folder = v; }},
    {L"--table", nullptr, [](Options& o, const std::wstring& v) { o.table = v; }},
    {L"--backup-dir", nullptr, [](Options& o, const std::wstring& v) { o.backupDir = v; }},
    {L"--fonts", nullptr, [](Options& o, const std::wstring& v) { o.fonts.push_back(v); }},
    {L"--log", nullptr, [](Options& o, const std::wstring& v) { o.log = v; }},
    {L"--dry-run", &Options::dryRun, nullptr},
    {L"--restore", &Options::restore, nullptr},
    {L"--quiet", &Options::quiet, nullptr},
    {L"--help", &Options::help, nullptr},
    {L"--version", &Options::version, nullptr},
    {L"--suggest", &Options::suggest, nullptr},
    {L"--add-to-table", &Options::addToTable, nullptr},
};

// The option named `name`; an unknown name is a usage error.
const OptionSpec& Find(const std::wstring& name, const std::wstring& arg) {
  for (const OptionSpec& option : kOptions)
    if (name == option.name) return option;
  throw UsageError{UsageError::Kind::kUnknownOption, arg};
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
    const OptionSpec& option = Find(arg.substr(0, equals), arg);
    if (option.flag) {
      if (equals != std::wstring::npos) throw UsageError{UsageError::Kind::kUnknownOption, arg};
      options.*option.flag = true;
    } else if (equals != std::wstring::npos) {
      option.take(options, arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      option.take(options, args[++i]);
    } else {
      throw UsageError{UsageError::Kind::kMissingValue, option.name};
    }
  }
  CheckCombination(options);
  return options;
}

std::wstring ListName(const Options& options) {
  return ListFileName(options.illustrator == 10);
}

}  // namespace vemo::cli
