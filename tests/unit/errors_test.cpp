#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <new>
#include <set>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "errors/report_error.h"
#include "platform/error_text.h"
#include "platform/runtime_error.h"
#include "platform/system_error.h"
#include "tests/fakes/fake_ui.h"

namespace vemo {
namespace {

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

TEST(ErrorNumberText, ApplicationBandAsOffsetWithNElsePlainDecimalWithSign) {
  const struct {
    std::int32_t number;
    const wchar_t* text;
  } table[] = {
      {static_cast<std::int32_t>(0x80040000u), L"N0"},  // first of the band
      {-2147221503, L"N1"},
      {static_cast<std::int32_t>(0x80040200u), L"N512"},
      {static_cast<std::int32_t>(0x8004FFFFu), L"N65535"},  // last of the band
      {-2147155968, L"-2147155968"},                        // first number above the band
      {-2147221505, L"-2147221505"},                        // last number below it
      {kInt32Min, L"-2147483648"},
      {std::numeric_limits<std::int32_t>::max(), L"2147483647"},
      {-1, L"-1"},
      {0, L"0"},
      {53, L"53"},
      {65535, L"65535"},
  };
  for (const auto& row : table) EXPECT_EQ(ErrorNumberText(row.number), row.text) << row.number;
}

TEST(ErrorMessageText, DescriptionThenTheNumberTextInParentheses) {
  EXPECT_EQ(ErrorMessageText(53), L"ファイルが見つかりません。 (エラー番号:53)");
  EXPECT_EQ(ErrorMessageText(9), L"インデックスが有効な範囲を超えています。 (エラー番号:9)");
  EXPECT_EQ(ErrorMessageText(-2147221504 + 1000), ErrorDescription(0) + L" (エラー番号:N1000)");
}

TEST(ErrorDescription, EveryNumberTheToolCanRaiseHasItsOwnTextOthersTheGenericOne) {
  const std::wstring generic = ErrorDescription(1);
  EXPECT_FALSE(generic.empty());
  std::set<std::wstring> seen;
  for (std::int32_t n :
       {5, 6, 7, 9, 13, 52, 53, 54, 55, 57, 58, 61, 62, 67, 68, 70, 71, 74, 75, 76}) {
    const std::wstring text = ErrorDescription(n);
    EXPECT_NE(text, generic) << n;
    EXPECT_TRUE(seen.insert(text).second) << "text of " << n << " repeats another";
  }
  for (std::int32_t n : {0, -1, 8, 56, 77, 1000, kInt32Min, -2147221504}) {
    EXPECT_EQ(ErrorDescription(n), generic) << n;
  }
}

// Any number with a text of its own can reach a user, so the release's guide explains each,
// spelled as the error dialog shows it, so that a user can search for what the dialog says.
TEST(ErrorDescription, TheGuideExplainsEveryNumberThatHasATextOfItsOwn) {
  std::ifstream file(VEMO_GUIDE, std::ios::binary);
  ASSERT_TRUE(file) << VEMO_GUIDE;
  const std::string guide{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::wstring generic = ErrorDescription(1);
  int explained = 0;
  const auto check = [&](std::int32_t n) {
    if (ErrorDescription(n) == generic) return;
    const std::wstring number = ErrorNumberText(n);
    const std::string entry = "(エラー番号:" + std::string(number.begin(), number.end()) + ")";
    EXPECT_NE(guide.find(entry), std::string::npos) << "the guide lacks " << entry;
    ++explained;
  };
  for (std::int32_t n = 0; n <= 0xFFFF; ++n) check(n);
  for (std::int32_t n = err::kApplicationErrorBase; n <= err::kApplicationErrorBase + 0xFFFF; ++n)
    check(n);
  EXPECT_GE(explained, 12) << "the scan missed the table of texts";
}

TEST(ReportError, ShowsTheMessageWithTheExclamationStyleOnce) {
  testing::FakeUi ui;
  ReportError(70, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, ErrorMessageText(70));
  EXPECT_EQ(ui.messages[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(ui.events, std::vector<std::wstring>{L"message"});
}

TEST(ErrorNumberFromSystemCode, MapsWin32CodesToTheNumbersAUserSeesAnyOtherToDeviceIo) {
  const struct {
    std::uint32_t code;
    std::int32_t number;
  } table[] = {
      {2, 53},    // ERROR_FILE_NOT_FOUND
      {3, 76},    // ERROR_PATH_NOT_FOUND
      {161, 76},  // ERROR_BAD_PATHNAME
      {15, 76},   // ERROR_INVALID_DRIVE
      {53, 76},   // ERROR_BAD_NETPATH
      {67, 76},   // ERROR_BAD_NET_NAME
      {5, 75},    // ERROR_ACCESS_DENIED
      {32, 70},   // ERROR_SHARING_VIOLATION
      {33, 70},   // ERROR_LOCK_VIOLATION
      {112, 61},  // ERROR_DISK_FULL
      {39, 61},   // ERROR_HANDLE_DISK_FULL
      {123, 52},  // ERROR_INVALID_NAME
      {206, 52},  // ERROR_FILENAME_EXCED_RANGE
      {21, 71},   // ERROR_NOT_READY
      {8, 7},     // ERROR_NOT_ENOUGH_MEMORY
      {14, 7},    // ERROR_OUTOFMEMORY
      {80, 58},   // ERROR_FILE_EXISTS
      {183, 58},  // ERROR_ALREADY_EXISTS
      {4, 67},    // ERROR_TOO_MANY_OPEN_FILES
  };
  for (const auto& row : table) {
    EXPECT_EQ(ErrorNumberFromSystemCode(row.code), row.number) << "code " << row.code;
  }
  for (std::uint32_t code : {0u, 1u, 6u, 87u, 267u, 1392u, 0xFFFFFFFFu}) {
    EXPECT_EQ(ErrorNumberFromSystemCode(code), err::kDeviceIoError) << "code " << code;
  }
}

TEST(RaiseSystemError, ThrowsTheMappedRuntimeError) {
  std::int32_t raised = 0;
  try {
    RaiseSystemError(32);
  } catch (const RuntimeError& e) {
    raised = e.Number();
  }
  EXPECT_EQ(raised, 70);
}

// What a handler of a user action reports for what it caught.
TEST(CaughtErrorNumber, RuntimeErrorsKeepTheirNumberOutOfMemoryIs7AnyOtherIs51) {
  const auto caught = [](auto thrown) {
    try {
      throw thrown;
    } catch (...) {
      return CaughtErrorNumber();
    }
  };
  EXPECT_EQ(caught(RuntimeError(-2147220503)), -2147220503);
  EXPECT_EQ(caught(std::bad_alloc()), 7);
  EXPECT_EQ(caught(std::logic_error("a fault of the program")), 51);
  EXPECT_EQ(caught(42), 51);
}

}  // namespace
}  // namespace vemo
