#!/usr/bin/env bash
# Prepares the demo in the project's Wine prefix and runs the program on it:
#  - C:\Program Files\べもつーる holds vemotool.exe, vemofix.exe and a demo Fonts.txt;
#  - C:\Program Files\Common Files\Adobe\TypeSpt (the program's default folder) holds a demo
#    AdobeFnt05.lst and AdobeFnt.lst; AdobeFnt05.lst also registers Japanese fonts of this
#    machine (IPA, VL Gothic, Noto CJK) under their Japanese names, which no row of the demo
#    table covers, and their files are copied into C:\windows\Fonts.
# All are fresh copies at every run (CP932, CR LF), so the demo can be repeated. First
# vemofix.exe --suggest shows the rows it proposes for those fonts. With a display the program
# then starts for the user (File, フォント一覧を確認 adds the rows). Without one, a driver makes
# the whole run under Xvfb as a user would: the check of the list adds the rows, 実行, the
# check again; the screenshots land in the build folder (doc/ keeps two of them for the README).
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/time-limits.sh
build=$(realpath -m "${BUILD:-build}")
exe="$build/windows/vemotool.exe"
fix="$build/windows/vemofix.exe"
driver="$build/windows/demo/vemo_demo.exe"
[ -f "$exe" ] && [ -f "$fix" ] || { echo "error: $exe or $fix is missing (make build)"; exit 1; }
# The rest runs in a Wine session (scripts/wine.sh): on the user's display when there is one,
# else on an Xvfb of its own.
[ -n "${VEMO_WINE_DISPLAY:-}" ] || exec scripts/wine.sh --user-display scripts/run.sh "$@"

drive_c="$WINEPREFIX/drive_c"
program="$drive_c/Program Files/べもつーる"
typespt="$drive_c/Program Files/Common Files/Adobe/TypeSpt"
win_exe='C:\Program Files\べもつーる\vemotool.exe'
out="$build/demo"

# UTF-8 with LF in the repository, CP932 with CR LF in the prefix.
to_cp932() { iconv -f UTF-8 -t CP932 "$1" | sed 's/$/\r/' >"$2"; }

rm -rf "$program" "$out"
mkdir -p "$program" "$typespt" "$out"
cp "$exe" "$program/vemotool.exe"
cp "$fix" "$program/vemofix.exe"
to_cp932 scripts/demo/Fonts.txt "$program/Fonts.txt"
for list in AdobeFnt05.lst AdobeFnt.lst; do
  to_cp932 "scripts/demo/$list" "$typespt/$list"
  cp "$typespt/$list" "$out/$list.before"
done
# The files the demo list names in its OutlineFileName: lines (scripts/install-deps.sh
# installs them), where Windows keeps fonts.
fonts_folder="$drive_c/windows/Fonts"
mkdir -p "$fonts_folder"
for font in opentype/ipafont-gothic/ipag.ttf opentype/ipafont-mincho/ipamp.ttf \
  truetype/vlgothic/VL-PGothic-Regular.ttf opentype/noto/NotoSansCJK-Regular.ttc; do
  if [ -f "/usr/share/fonts/$font" ]; then
    cp "/usr/share/fonts/$font" "$fonts_folder/"
  else
    echo "warning: /usr/share/fonts/$font is missing: vemofix will find no font for it"
  fi
done
echo "Demo prepared in $WINEPREFIX:"
echo "  C:\\Program Files\\べもつーる: vemotool.exe, vemofix.exe, Fonts.txt"
echo "  C:\\Program Files\\Common Files\\Adobe\\TypeSpt: AdobeFnt05.lst, AdobeFnt.lst"
echo "  C:\\windows\\Fonts: ipag.ttf, ipamp.ttf, VL-PGothic-Regular.ttf, NotoSansCJK-Regular.ttc"

if [ "$VEMO_WINE_DISPLAY" = user ]; then
  # A console program's output: to a file, then shown (Wine keeps a pipe open).
  echo
  echo "vemofix --suggest:"
  (cd "$program" && "$WINE64" vemofix.exe --suggest >"$out/vemofix.txt" 2>&1 </dev/null)
  iconv -f CP932 -t UTF-8 "$out/vemofix.txt" | tr -d '\r' | sed 's/^/  /'
  echo
  echo "Starting vemotool.exe (Wine output: $out/wine.log)"
  # Output to a file: Wine's background processes keep a pipe open.
  (cd "$program" && "$WINE64" vemotool.exe >"$out/wine.log" 2>&1 </dev/null)
  exit 0
fi

[ -f "$driver" ] || { echo "error: $driver is missing (make demo)"; exit 1; }
echo "No display: one whole run under Xvfb, driven through the window"
# The Unix root is drive Z: in the prefix.
win_out="Z:${out//\//\\}"
timeout "$VEMO_DEMO_SECONDS" "$WINE64" "$driver" "$win_exe" "$win_out" >"$out/wine.log" 2>&1 </dev/null
rc=$?

echo
echo "What happened:"
if [ -f "$out/demo.log" ]; then
  sed 's/^/  /' "$out/demo.log"
else
  echo "  (nothing: the driver did not start; see $out/wine.log)"
  rc=1
fi

echo
echo "Changed FontName: lines of AdobeFnt05.lst (old -> new):"
fontnames() { grep -a '^FontName:' "$1" | tr -d '\r' | iconv -f CP932 -t UTF-8; }
changed=$(paste -d '\t' <(fontnames "$out/AdobeFnt05.lst.before") \
  <(fontnames "$typespt/AdobeFnt05.lst") | awk -F '\t' '$1 != $2 { print "  " $1 "  ->  " $2 }')
if [ -n "$changed" ]; then echo "$changed"; else echo "  (none)"; fi
if cmp -s "$out/AdobeFnt.lst.before" "$typespt/AdobeFnt.lst"; then
  echo "AdobeFnt.lst (Illustrator 8 or 9) is unchanged, as it should be with Illustrator 10 chosen."
fi
if [ -f "$program/AdobeFnt05.lst のバックアップ" ]; then
  echo "Backup: C:\\Program Files\\べもつーる\\AdobeFnt05.lst のバックアップ"
fi

echo
for shot in main:screenshot check:screenshot-check done:screenshot-done \
  check-done:screenshot-check-done about:screenshot-about; do
  bmp="$out/${shot%%:*}.bmp"
  png="$build/${shot##*:}.png"
  rm -f "$png"
  if [ -f "$bmp" ] && convert "$bmp" "$png" 2>/dev/null; then echo "Screenshot: $png"; fi
done
[ $rc -eq 0 ] && echo "The demo run completed." || echo "The demo run FAILED (exit $rc)."
exit $rc
