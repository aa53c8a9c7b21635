// Every runtime error number the program raises, with the Japanese text the error dialog
// shows for it: the one table all layers take their numbers from.
#pragma once

#include <array>
#include <cstdint>

namespace vemo {

namespace err {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInternalError = 51;  // a fault of the program itself
inline constexpr std::int32_t kBadFileName = 52;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kBadFileMode = 54;
inline constexpr std::int32_t kFileAlreadyOpen = 55;
inline constexpr std::int32_t kDeviceIoError = 57;
inline constexpr std::int32_t kFileAlreadyExists = 58;
inline constexpr std::int32_t kDiskFull = 61;
inline constexpr std::int32_t kInputPastEndOfFile = 62;
inline constexpr std::int32_t kTooManyFiles = 67;
inline constexpr std::int32_t kDeviceNotAvailable = 68;
inline constexpr std::int32_t kPermissionDenied = 70;   // the file is in use by another program
inline constexpr std::int32_t kDeviceUnavailable = 71;  // the disk is not ready
inline constexpr std::int32_t kRenameAcrossDisks = 74;
inline constexpr std::int32_t kPathFileAccessError = 75;  // access denied
inline constexpr std::int32_t kPathNotFound = 76;

// The tool's own numbers, in the application-defined band &H80040000..&H8004FFFF; the error
// dialog shows them as "N" and the offset.
inline constexpr std::int32_t kApplicationErrorBase = static_cast<std::int32_t>(0x80040000u);
inline constexpr std::int32_t kApplicationErrorLast = static_cast<std::int32_t>(0x8004FFFFu);
// A name in a UTF-8 "Fonts.txt" holds a character that CP932 cannot hold (N1001).
inline constexpr std::int32_t kNameNotInCp932 = kApplicationErrorBase + 1001;
}  // namespace err

struct ErrorText {
  std::int32_t number;
  const wchar_t* text;
};

// The numbers the tool can raise, and the ones a user of such a tool is used to seeing.
inline constexpr std::array<ErrorText, 22> kErrorTexts{{
    {err::kInvalidCall, L"プロシージャの呼び出し、または引数が正しくありません。"},
    {err::kOverflow, L"オーバーフローが発生しました。"},
    {err::kOutOfMemory, L"メモリが足りません。"},
    {err::kSubscriptOutOfRange, L"インデックスが有効な範囲を超えています。"},
    {err::kTypeMismatch, L"データの型が合いません。"},
    {err::kInternalError, L"内部エラーです。"},
    {err::kBadFileName, L"ファイル名またはファイル番号が正しくありません。"},
    {err::kFileNotFound, L"ファイルが見つかりません。"},
    {err::kBadFileMode, L"ファイルのモードが正しくありません。"},
    {err::kFileAlreadyOpen, L"このファイルは既に開かれています。"},
    {err::kDeviceIoError, L"デバイスの入出力でエラーが発生しました。"},
    {err::kFileAlreadyExists, L"同じ名前のファイルが既にあります。"},
    {err::kDiskFull, L"ディスクに空きがありません。"},
    {err::kInputPastEndOfFile, L"ファイルの終わりより先を読もうとしました。"},
    {err::kTooManyFiles, L"開いているファイルが多すぎます。"},
    {err::kDeviceNotAvailable, L"デバイスを利用できません。"},
    {err::kPermissionDenied, L"ファイルは他のプログラムが使用中のため、書き込めません。"},
    {err::kDeviceUnavailable, L"ディスクの準備ができていません。"},
    {err::kRenameAcrossDisks, L"ドライブをまたいで名前を変更することはできません。"},
    {err::kPathFileAccessError, L"パスまたはファイルにアクセスできません。"},
    {err::kPathNotFound, L"パスが見つかりません。"},
    {err::kNameNotInCp932,
     L"Fonts.txtに、Illustratorのフォント一覧ファイル（シフトJIS）で表せない文字があります。"},
}};

// For the numbers without a text of their own.
inline constexpr wchar_t kGenericErrorText[] =
    L"アプリケーションまたはオブジェクトで定義されたエラーが発生しました。";

}  // namespace vemo
