#!/usr/bin/env bash
# make install into a temporary DESTDIR, as a packager would: the installed vemofix runs and
# tells the project's version, its man page renders without a single groff warning, and
# make uninstall takes both away again.
set -uo pipefail
cd "$(dirname "$0")/../.."
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

version=$(sed -n 's/^project(vemotool VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
bin="$dest/usr/local/bin/vemofix"
page="$dest/usr/local/share/man/man1/vemofix.1"

echo "== make install DESTDIR=$dest"
make -s install DESTDIR="$dest" >"$dest/make.log" 2>&1 || fail "make install: $(cat "$dest/make.log")"
[ -x "$bin" ] || fail "no program at $bin"
[ "$("$bin" --version 2>&1)" = "$version" ] || fail "$bin --version says '$("$bin" --version 2>&1)', not $version"

echo "== the man page"
for device in utf8 ascii; do
  warnings=$(groff -man -ww -z -T$device "$page" 2>&1)
  [ -z "$warnings" ] || fail "groff -T$device warns: $warnings"
done
rendered=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES 'SEE ALSO'; do
  grep -qx "$section" <<<"$rendered" || fail "the page has no $section section"
done
grep -q "vemotool $version" <<<"$rendered" || fail "the page does not name version $version"

echo "== make uninstall"
make -s uninstall DESTDIR="$dest" >"$dest/make.log" 2>&1 || fail "make uninstall: $(cat "$dest/make.log")"
[ ! -e "$bin" ] && [ ! -e "$page" ] || fail "make uninstall left $(find "$dest/usr" -type f)"

[ "$failures" -eq 0 ] && echo "PASS" || echo "$failures failure(s)"
[ "$failures" -eq 0 ]
