#include "platform/error_text.h"

#include "platform/runtime_error.h"

#include <array>
#include <utility>

namespace vemo {

namespace {

// The numbers the tool can raise, and the ones a user of such a tool is used to seeing.
constexpr std::array<std::pair<std::int32_t, const wchar_t*>, 22> kDescriptions{{
    {5, L"プロシージャの呼び出し、または引数が正しくありません。"},
    {6, L"オーバーフローが発生しました。"},
    {7, L"メモリが足りません。"},
    {9, L"インデックスが有効な範囲を超えています。"},
    {13, L"データの型が合いません。"},
    {err::kInternalError, L"内部エラーです。"},
    {52, L"ファイル名またはファイル番号が正しくありません。"},
    {53, L"ファイルが見つかりません。"},
    {54, L"ファイルのモードが正しくありません。"},
    {55, L"このファイルは既に開かれています。"},
    {57, L"デバイスの入出力でエラーが発生しました。"},
    {58, L"同じ名前のファイルが既にあります。"},
    {61, L"ディスクに空きがありません。"},
    {62, L"ファイルの終わりより先を読もうとしました。"},
    {67, L"開いているファイルが多すぎます。"},
    {68, L"デバイスを利用できません。"},
    {70, L"ファイルは他のプログラムが使用中のため、書き込めません。"},
    {71, L"ディスクの準備ができていません。"},
    {74, L"ドライブをまたいで名前を変更することはできません。"},
    {75, L"パスまたはファイルにアクセスできません。"},
    {76, L"パスが見つかりません。"},
    {err::kNameNotInCp932,
     L"Fonts.txtに、Illustratorのフォント一覧ファイル（シフトJIS）で表せない文字があります。"},
}};

constexpr wchar_t kGeneric[] =
    L"アプリケーションまたはオブジェクトで定義されたエラーが発生しました。";

}  // namespace

std::wstring ErrorDescription(std::int32_t number) {
  for (const auto& [n, text] : kDescriptions) {
    if (n == number) return text;
  }
  return kGeneric;
}

}  // namespace vemo
