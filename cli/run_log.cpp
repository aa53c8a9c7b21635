#include "cli/run_log.h"

#include <cstdlib>

#include "cli/texts.h"
#include "platform/utf8.h"

namespace vemo::cli {
namespace {

// `value` with leading zeros to `width` digits.
std::wstring Digits(int value, std::size_t width) {
  std::wstring text = std::to_wstring(value);
  return std::wstring(width > text.size() ? width - text.size() : 0, L'0') + text;
}

// 2026-12-24T08:30:05+09:00
std::wstring TimeText(const LocalTime& t) {
  const int offset = std::abs(t.utcOffsetMinutes);
  return Digits(t.year, 4) + L"-" + Digits(t.month, 2) + L"-" + Digits(t.day, 2) + L"T" +
         Digits(t.hour, 2) + L":" + Digits(t.minute, 2) + L":" + Digits(t.second, 2) +
         (t.utcOffsetMinutes < 0 ? L"-" : L"+") + Digits(offset / 60, 2) + L":" +
         Digits(offset % 60, 2);
}

class Fields {
 public:
  void Add(const wchar_t* key, std::wstring_view value) {
    if (!line_.empty()) line_ += L'\t';
    line_.append(key).append(L"=").append(Escaped(value));
  }
  void AddUnlessEmpty(const wchar_t* key, std::wstring_view value) {
    if (!value.empty()) Add(key, value);
  }
  const std::wstring& Line() const { return line_; }

 private:
  std::wstring line_;
};

}  // namespace

RowCounts CountRows(const std::vector<RowOutcome>& outcomes) {
  RowCounts counts;
  for (const RowOutcome& outcome : outcomes) {
    if (outcome.result == RowResult::kApplied) ++counts.applied;
    if (outcome.result == RowResult::kNotFound) ++counts.notFound;
    if (outcome.result == RowResult::kSkipped) ++counts.skipped;
  }
  return counts;
}

std::string LogLine(const RunRecord& record, const RunContext& context) {
  Fields fields;
  fields.Add(L"time", TimeText(context.time));
  fields.Add(L"computer", context.computer);
  fields.Add(L"user", context.user);
  fields.Add(L"version", VersionText());
  fields.Add(L"mode", record.mode);
  fields.Add(L"status", std::to_wstring(record.status));
  fields.AddUnlessEmpty(L"list", record.list);
  if (record.rows) {
    fields.Add(L"applied", std::to_wstring(record.rows->applied));
    fields.Add(L"notfound", std::to_wstring(record.rows->notFound));
    fields.Add(L"skipped", std::to_wstring(record.rows->skipped));
  }
  if (record.unusable) fields.Add(L"unusable", std::to_wstring(*record.unusable));
  fields.AddUnlessEmpty(L"backup", record.backup);
  fields.AddUnlessEmpty(L"error", record.error);
  fields.AddUnlessEmpty(L"error_file", record.errorFile);
  return Utf8FromText(fields.Line());
}

}  // namespace vemo::cli
