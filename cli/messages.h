// Every sentence vemofix prints, one whole pattern per language, with numbered places ("{1}",
// "{2}") for what changes: a translator reads each as a sentence and may put the places in any
// order. Texts (cli/texts.h) picks the language and fills the places.
#pragma once

#include "fontfix/adobe_programs.h"
#include "fontfix/list_location.h"

namespace vemo::cli {

struct Message {
  const wchar_t* english;
  const wchar_t* japanese;
};

namespace msg {

// The help; {1} is the default folder of the font list.
inline constexpr Message kHelp{
    L"Usage: vemofix [options]\n"
    L"Rewrites the \"FontName:\" entries of Illustrator's font list with the rename\n"
    L"table, keeping a backup of the list as it was before the first change.\n\n"
    L"  --illustrator 10|8|9  10 (the default): AdobeFnt05.lst; 8 or 9: AdobeFnt.lst\n"
    L"  --folder DIR          the folder of the font list (default: {1})\n"
    L"  --table FILE          the rename table (default: Fonts.txt beside the program)\n"
    L"  --backup-dir DIR      where \"<list> のバックアップ\" is kept (default: the\n"
    L"                        table's folder)\n"
    L"  --dry-run             change nothing and make no backup; report what a run\n"
    L"                        would do\n"
    L"  --restore             copy the backup back over the list; the backup stays\n"
    L"  --quiet               print nothing but errors\n"
    L"  --log FILE            append a record of the run to FILE, one line of UTF-8\n"
    L"  --suggest             propose rows for the table from the fonts: for each entry\n"
    L"                        Illustrator cannot use, the font's PostScript name\n"
    L"  --add-to-table        with --suggest: append the rows with one suggestion\n"
    L"  --fonts DIR           with --suggest: read the fonts in DIR and its subfolders\n"
    L"                        (repeatable; default: the system's fonts folders)\n"
    L"  --help                show this help\n"
    L"  --version             show the version\n\n"
    L"Exit status: 0 done, 1 the font list is missing, 2 usage error or no rename table,\n"
    L"3 runtime error, 4 --suggest left entries without a single suggestion,\n"
    L"5 Illustrator or Photoshop is running (nothing was touched).\n",
    L"使い方: vemofix [オプション]\n"
    L"Illustratorのフォント一覧の \"FontName:\" エントリを対応表に従って書き換えます。\n"
    L"最初に変更する前の一覧はバックアップとして残します。\n\n"
    L"  --illustrator 10|8|9  10 (既定): AdobeFnt05.lst、8 または 9: AdobeFnt.lst\n"
    L"  --folder DIR          フォント一覧のフォルダー (既定: {1})\n"
    L"  --table FILE          対応表 (既定: プログラムと同じフォルダーの Fonts.txt)\n"
    L"  --backup-dir DIR      \"<一覧> のバックアップ\" を置くフォルダー (既定: 対応表の\n"
    L"                        フォルダー)\n"
    L"  --dry-run             何も変更せず、バックアップも作らずに、実行した場合の結果を\n"
    L"                        表示します\n"
    L"  --restore             バックアップを一覧に書き戻します (バックアップは残ります)\n"
    L"  --quiet               エラー以外は何も表示しません\n"
    L"  --log FILE            実行の記録を FILE に1行追記します (UTF-8)\n"
    L"  --suggest             使えないエントリごとに、フォントの PostScript 名から\n"
    L"                        対応表の行を提案します\n"
    L"  --add-to-table        --suggest と一緒に: 候補が1つの行を対応表に追加します\n"
    L"  --fonts DIR           --suggest と一緒に: DIR とその下のフォントを読みます\n"
    L"                        (複数指定可、既定: システムのフォントフォルダー)\n"
    L"  --help                この説明を表示します\n"
    L"  --version             バージョンを表示します\n\n"
    L"終了コード: 0 完了、1 フォント一覧がない、2 使い方の誤りか対応表がない、\n"
    L"3 実行時エラー、4 --suggest で候補が1つに決まらないエントリがある、\n"
    L"5 Illustrator または Photoshop が起動している (何も変更していません)\n"};
inline constexpr Message kNoDefaultFolderShown{L"none: set WINEPREFIX or HOME",
                                               L"なし: WINEPREFIX か HOME を設定してください"};

// Usage errors: a line "vemofix: " and the error, then kTryHelp.
inline constexpr Message kUnknownOption{L"vemofix: unknown option: {1}",
                                        L"vemofix: 不明なオプションです: {1}"};
inline constexpr Message kMissingValue{L"vemofix: {1} needs a value",
                                       L"vemofix: {1} には値が必要です"};
inline constexpr Message kBadVersion{
    L"vemofix: --illustrator takes 10, 8 or 9, not: {1}",
    L"vemofix: --illustrator には 10、8、9 のどれかを指定してください: {1}"};
inline constexpr Message kExtraArgument{L"vemofix: unexpected argument: {1}",
                                        L"vemofix: 余分な引数です: {1}"};
inline constexpr Message kDryRunRestore{L"vemofix: --dry-run and --restore cannot be used together",
                                        L"vemofix: --dry-run と --restore は同時に指定できません"};
inline constexpr Message kNoDefaultFolder{
    L"vemofix: no --folder given, and neither WINEPREFIX nor HOME is set",
    L"vemofix: --folder の指定がなく、WINEPREFIX も HOME も設定されていません"};
inline constexpr Message kSuggestWith{
    L"vemofix: --suggest cannot be used with {1}",
    L"vemofix: --suggest は次のオプションと同時に指定できません: {1}"};
inline constexpr Message kAddWithoutSuggest{L"vemofix: --add-to-table needs --suggest",
                                            L"vemofix: --add-to-table には --suggest が必要です"};
inline constexpr Message kTryHelp{L"Try 'vemofix --help'.",
                                  L"'vemofix --help' で使い方を表示します。"};

// What stops a run before it touches anything. The first two also go to the log as they are,
// the file apart.
inline constexpr Message kTableMissing{L"the rename table is missing, nothing was changed",
                                       L"対応表がないため、何も変更しませんでした"};
inline constexpr Message kListMissing{L"The following file does not exist:", kMissingListText};
inline constexpr Message kAdobeRunning{
    L"Illustrator or Photoshop is running. Close it, then run again.", kAdobeRunningText};
// A line of standard error: the program, what happened, the file it concerns.
inline constexpr Message kTableMissingLine{L"vemofix: {1}: {2}", L"vemofix: {1}: {2}"};
inline constexpr Message kListMissingLines{L"{1}\n{2}", L"{1}\n{2}"};
inline constexpr Message kAdobeRunningLine{L"vemofix: {1}", L"vemofix: {1}"};
// An error's words after the file it concerns.
inline constexpr Message kErrorInFile{L"{1}: {2}", L"{1}: {2}"};
inline constexpr Message kLogNotWritten{L"vemofix: warning: the log was not written: {1}",
                                        L"vemofix: 警告: ログに書き込めませんでした: {1}"};

// The report of a run.
inline constexpr Message kFontList{L"font list: {1}", L"フォント一覧: {1}"};
inline constexpr Message kRowReplaced{
    L"row {1}: \"{2}\" -> \"{3}\": replaced the entry on line {4}",
    L"表の{1}行目「{2}」→「{3}」: {4}行目のエントリを置換"};
inline constexpr Message kRowNotFound{L"row {1}: \"{2}\" -> \"{3}\": no entry matched",
                                      L"表の{1}行目「{2}」→「{3}」: 該当するエントリなし"};
inline constexpr Message kRowSkipped{L"row {1}: \"{2}\" -> \"{3}\": skipped (empty name)",
                                     L"表の{1}行目「{2}」→「{3}」: 名前が空のため飛ばしました"};
inline constexpr Message kStillUnusable{L"line {1}: \"{2}\": still unusable in Illustrator",
                                        L"{1}行目「{2}」: Illustratorで使えないままです"};
inline constexpr Message kSummary{L"rows: {1} applied, {2} not found, {3} skipped as empty",
                                  L"置換 {1} 行、該当なし {2} 行、空のため飛ばした行 {3} 行"};
inline constexpr Message kDryRunSummary{
    L"dry run, nothing written: rows: {1} applied, {2} not found, {3} skipped as empty",
    L"試行のみ (何も書き込んでいません): 置換 {1} 行、該当なし {2} 行、空のため飛ばした行 {3} 行"};
inline constexpr Message kBackupMade{L"backup made: {1}", L"バックアップを作成しました: {1}"};
inline constexpr Message kBackupKept{L"the backup was there already and was kept: {1}",
                                     L"バックアップは既にあるので、そのまま残しました: {1}"};
inline constexpr Message kBackupWouldBeMade{L"a backup would be made: {1}",
                                            L"バックアップを作成します: {1}"};
inline constexpr Message kBackupWouldBeKept{L"the backup exists and would be kept: {1}",
                                            L"バックアップは既にあるので、そのまま残します: {1}"};
inline constexpr Message kRestored{L"restored {1} over {2}",
                                   L"バックアップ {1} を {2} に書き戻しました"};

// The report of --suggest.
inline constexpr Message kFontSkipped{L"font skipped: {1}: {2}", L"読めなかったフォント: {1}: {2}"};
inline constexpr Message kSkipShort{L"the file ends inside its header or table directory",
                                    L"ヘッダーかテーブル一覧の途中でファイルが終わっています"};
inline constexpr Message kSkipPastEnd{
    L"a face or the name table lies past the end of the file",
    L"フェイスか name テーブルがファイルの終わりより先にあります"};
inline constexpr Message kSkipNoNameTable{L"a face has no name table",
                                          L"name テーブルのないフェイスがあります"};
inline constexpr Message kSkipRecordCount{L"the name table is too short for its records",
                                          L"name テーブルがレコードの数に足りません"};
inline constexpr Message kSkipRecordPastEnd{L"a name lies past the end of the name table",
                                            L"name テーブルの終わりより先にある名前があります"};
inline constexpr Message kSkipOddUtf16Length{L"a UTF-16 name has an odd number of bytes",
                                             L"バイト数が奇数の UTF-16 の名前があります"};
inline constexpr Message kSkipLoneSurrogate{L"a UTF-16 name has half of a surrogate pair",
                                            L"サロゲートペアの片方だけの UTF-16 の名前があります"};
inline constexpr Message kSkipFaceCount{L"the collection has no faces or claims too many",
                                        L"コレクションのフェイスの数が 0 か、多すぎます"};
inline constexpr Message kSkipNotAFont{L"not a TrueType or OpenType font",
                                       L"TrueType や OpenType のフォントではありません"};
// A face: its PostScript name, its file and, in a collection, its number.
inline constexpr Message kFace{L"\"{1}\" ({2})", L"「{1}」 ({2})"};
inline constexpr Message kFaceOfCollection{L"\"{1}\" ({2}, face {3})",
                                           L"「{1}」 ({2}、フェイス {3})"};
inline constexpr Message kOneSuggestion{L"line {1}: \"{2}\" -> {3}", L"{1}行目「{2}」→{3}"};
inline constexpr Message kNoFontFound{L"line {1}: \"{2}\": no font found",
                                      L"{1}行目「{2}」: フォントが見つかりません"};
inline constexpr Message kSeveralFonts{L"line {1}: \"{2}\": several fonts:",
                                       L"{1}行目「{2}」: 候補が複数あります:"};
inline constexpr Message kOneOfSeveral{L"  {1}", L"  {1}"};
inline constexpr Message kSuggestionSummary{
    L"entries: {1} with one suggestion, {2} without a font, {3} with several (fonts read: {4})",
    L"候補1つ {1} 件、フォントなし {2} 件、候補複数 {3} 件 (読んだフォント: {4} ファイル)"};
inline constexpr Message kNothingWritten{
    L"nothing written (--add-to-table appends the rows with one suggestion)",
    L"何も書き込んでいません (--add-to-table で候補が1つの行を対応表に追加します)"};
inline constexpr Message kNotAdded{L"not added, line {1}: \"{2}\": {3}",
                                   L"追加しなかった行: {1}行目「{2}」: {3}"};
inline constexpr Message kTableFull{L"the table has 1024 rows", L"対応表が 1024 行に達しています"};
inline constexpr Message kNotWritable{L"the name cannot be written in the table as it reads it",
                                      L"この名前は対応表に読めるように書けません"};
inline constexpr Message kReplacesNone{L"the row would replace no entry",
                                       L"この行で置換されるエントリがありません"};
inline constexpr Message kReplacesAnother{L"the row would replace the entry on line {1} first",
                                          L"この行は先に {1} 行目のエントリを置換してしまいます"};
inline constexpr Message kRowsAdded{L"rows added to {1}: {2}", L"対応表 {1} に追加した行: {2}"};

}  // namespace msg
}  // namespace vemo::cli
