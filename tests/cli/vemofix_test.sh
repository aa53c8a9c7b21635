#!/usr/bin/env bash
# Runs the real vemofix binary on files in a temporary folder, as a Linux user with
# Illustrator in a Wine prefix would: exit status, output, and the bytes of the list and
# the backup. Usage: vemofix_test.sh PATH-TO-VEMOFIX
set -uo pipefail
exe=$(realpath "$1")
work=$(mktemp -d)
standin=""
trap '[ -z "$standin" ] || kill "$standin" 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# expect_status EXPECTED COMMAND...: runs the command with its output in $work/out and
# $work/err, and checks its exit status.
expect_status() {
  local want=$1
  shift
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "$* exited $got, not $want; stderr: $(cat "$work/err")"
}
expect_same() { cmp -s "$1" "$2" || fail "$1 differs from $2"; }
expect_text() { grep -qF -- "$2" "$1" || fail "$1 lacks '$2': $(cat "$1")"; }

# A Wine prefix with the Illustrator folder, and the program with its table in a folder of its own.
prefix="$work/wine prefix"
typespt="$prefix/drive_c/Program Files/Common Files/Adobe/TypeSpt"
mkdir -p "$typespt" "$work/tool"
cp "$exe" "$work/tool/vemofix"
vemofix="$work/tool/vemofix"
export WINEPREFIX="$prefix" LANG=C LC_ALL= LC_MESSAGES=
# ＭＳ明朝 and ＭＳゴシック in CP932.
mincho=$'\x82\x6c\x82\x72\x96\xbe\x92\xa9'
gothic=$'\x82\x6c\x82\x72\x83\x53\x83\x56\x83\x62\x83\x4e'
printf '%s,MS-Mincho\r\n%s,MS-Gothic\r\nNone,X\r\n' "$mincho" "$gothic" >"$work/tool/Fonts.txt"
printf '%%hdr\r\nFontName:%s\r\n%%x\r\nFontName:%s\r\n' "$mincho" "$gothic" >"$work/original"
printf '%%hdr\r\nFontName:MS-Mincho\r\n%%x\r\nFontName:MS-Gothic\r\n' >"$work/rewritten"
list="$typespt/AdobeFnt05.lst"
backup="$work/tool/AdobeFnt05.lst のバックアップ"

echo "== dry run: the report, nothing written"
cp "$work/original" "$list"
expect_status 0 "$vemofix" --dry-run
expect_same "$list" "$work/original"
[ ! -e "$backup" ] || fail "the dry run made a backup"
expect_text "$work/out" 'row 1: "ＭＳ明朝" -> "MS-Mincho": replaced the entry on line 2'
expect_text "$work/out" 'row 2: "ＭＳゴシック" -> "MS-Gothic": replaced the entry on line 4'
expect_text "$work/out" 'row 3: "None" -> "X": no entry matched'
expect_text "$work/out" 'dry run, nothing written: rows: 2 applied, 1 not found, 0 skipped as empty'

echo "== the run: list rewritten in place, backup beside the table, made once"
chmod 640 "$list"
expect_status 0 "$vemofix"
expect_same "$list" "$work/rewritten"
expect_same "$backup" "$work/original"
[ "$(stat -c %a "$list")" = 640 ] || fail "the list lost its mode: $(stat -c %a "$list")"
[ "$(ls -A "$typespt")" = AdobeFnt05.lst ] || fail "files left beside the list: $(ls -A "$typespt")"
printf 'FontName:%s' "$mincho" >"$list"
expect_status 0 "$vemofix" --quiet
[ ! -s "$work/out" ] && [ ! -s "$work/err" ] || fail "--quiet printed something"
[ "$(cat "$list")" = FontName:MS-Mincho ] || fail "second run did not rewrite"
expect_same "$backup" "$work/original"

echo "== restore: the backup back over the list, and it stays"
expect_status 0 "$vemofix" --restore
expect_same "$list" "$work/original"
expect_same "$backup" "$work/original"

echo "== Illustrator 9, other folders, Japanese messages"
mkdir -p "$work/other/keep"
cp "$work/original" "$work/other/AdobeFnt.lst"
expect_status 0 env LANG=ja_JP.UTF-8 "$vemofix" --illustrator 9 --folder "$work/other" \
  --table "$work/tool/Fonts.txt" --backup-dir "$work/other/keep"
expect_same "$work/other/AdobeFnt.lst" "$work/rewritten"
expect_same "$work/other/keep/AdobeFnt.lst のバックアップ" "$work/original"
expect_text "$work/out" '表の1行目「ＭＳ明朝」→「MS-Mincho」: 2行目のエントリを置換'
expect_same "$list" "$work/original"

echo "== exit status 1, 2 and 3"
expect_status 1 "$vemofix" --folder "$work/nowhere"
expect_text "$work/err" "$work/nowhere/AdobeFnt05.lst"
expect_status 1 env LC_ALL=ja_JP.UTF-8 "$vemofix" --illustrator 8 --folder "$work/nowhere"
expect_text "$work/err" '次のファイルが存在しません。'
expect_status 2 "$vemofix" --illustrator 7
expect_status 2 "$vemofix" --no-such-option
env -u WINEPREFIX -u HOME "$vemofix" >"$work/out" 2>"$work/err"
[ $? -eq 2 ] || fail "no folder to be found is not a usage error"
expect_status 0 "$vemofix" --version
[ "$(cat "$work/out")" = 1.2.3 ] || fail "--version printed $(cat "$work/out")"
expect_status 0 "$vemofix" --help
expect_text "$work/out" '--backup-dir DIR'

# A table of 1025 rows: error 9 as the error dialog words it, nothing written.
rm -f "$backup"
for i in $(seq 1 1025); do printf 'A%d,B%d\r\n' "$i" "$i"; done >"$work/big.txt"
expect_status 3 "$vemofix" --table "$work/big.txt" --backup-dir "$work/tool"
expect_text "$work/err" ' (エラー番号:9)'
expect_same "$list" "$work/original"
[ ! -e "$backup" ] || fail "a backup was made after error 9"

# A rename table that is not there: status 2, no backup, the list as it was.
expect_status 2 "$vemofix" --table "$work/nowhere/Fonts.txt" --backup-dir "$work/tool"
expect_text "$work/err" "$work/nowhere/Fonts.txt"
expect_same "$list" "$work/original"
[ ! -e "$backup" ] || fail "a backup was made without a table"

# A read-only list (no write bits, refused even for root): error 75, the list as it was.
chmod 444 "$list"
expect_status 3 "$vemofix"
expect_text "$work/err" ' (エラー番号:75)'
expect_same "$list" "$work/original"
[ "$(ls -A "$typespt")" = AdobeFnt05.lst ] || fail "files left beside the list: $(ls -A "$typespt")"
chmod 644 "$list"

echo "== --log: eight runs at once, as eight computers logging on, append eight whole records"
log="$work/office log.txt"
for writer in 1 2 3 4 5 6 7 8; do "$vemofix" --dry-run --quiet --log "$log" & done
wait
record=$(printf 'computer=%s\tuser=%s\tversion=1.2.3\tmode=dry-run\tstatus=0\tlist=%s' \
  "$(hostname)" "$(id -un)" "$list")
record+=$'\tapplied=2\tnotfound=1\tskipped=0\tunusable=0'
[ "$(wc -l <"$log")" -eq 8 ] || fail "the log holds $(wc -l <"$log") lines, not 8"
[ "$(tail -c 1 "$log" | od -An -c | tr -d ' ')" = '\n' ] || fail "the log's last record is cut"
times=$(cut -f1 "$log" | grep -cE '^time=[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2}$')
[ "$times" -eq 8 ] || fail "$((8 - times)) records lack their time"
others=$(cut -f2- "$log" | grep -cvxF -- "$record")
[ "$others" -eq 0 ] || fail "$others records are torn: $(cut -f2- "$log" | grep -vxF -- "$record" | head -3)"

echo "== Illustrator or Photoshop run under Wine: status 5, nothing touched; a longer name is not theirs"
# Each stand-in is sleep under that name; Wine shows the Windows path of the .exe as the command.
# CASE: file name, the name the command line starts with (empty: its path), the status.
while IFS='|' read -r name shown want; do
  cp "$(command -v sleep)" "$work/$name"
  (exec -a "${shown:-$work/$name}" "$work/$name" 60) &
  standin=$!
  # Started once the kernel knows it by its new name.
  for _ in $(seq 1 500); do
    [ "$(cat "/proc/$standin/comm" 2>/dev/null)" = "${name:0:15}" ] && break
    sleep 0.01
  done
  cp "$work/original" "$list"
  rm -f "$backup"
  expect_status "$want" "$vemofix" --log "$log"
  if [ "$want" -eq 5 ]; then
    expect_text "$work/err" 'vemofix: Illustrator or Photoshop is running. Close it, then run again.'
    expect_same "$list" "$work/original"
    [ ! -e "$backup" ] || fail "a backup was made while $name ran"
    tail -n 1 "$log" | grep -qF $'\tmode=fix\tstatus=5\terror=Illustrator or Photoshop' ||
      fail "the log lacks the refused run: $(tail -n 1 "$log")"
  fi
  kill "$standin"
  wait "$standin" 2>/dev/null
  standin=""
done <<'CASES'
Illustrator.exe||5
PHOTOSHP.EXE||5
Illustrator.exe|C:\Program Files\Adobe\Illustrator 10\Illustrator.exe|5
Illustrator.exe.old||0
CASES
expect_status 0 "$vemofix"
expect_same "$list" "$work/rewritten"

echo
if [ "$failures" -eq 0 ]; then
  echo "vemofix: all checks passed"
else
  echo "vemofix: $failures checks failed"
  exit 1
fi
