# Sourced by the Wine scripts: the project's private prefix and a Japanese locale.
# BUILD (default: build) is the build folder; the prefix and the locale live under it.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$top/scripts/time-limits.sh"
build_dir=${BUILD:-build}
case "$build_dir" in /*) ;; *) build_dir="$top/$build_dir" ;; esac
# The Windows version Wine reports: its default, or VEMO_WINDOWS_VERSION (winxp, say), each in
# a prefix of its own, so that both can run at once.
export WINEPREFIX="$build_dir/wineprefix${VEMO_WINDOWS_VERSION:+-$VEMO_WINDOWS_VERSION}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs: the program needs neither, and a dialog would stall a
# headless run.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# 64-bit programs start through Wine's 64-bit loader directly: once wine32 is installed, `wine`
# tries the 32-bit loader first, a 32-bit start (seconds where it runs under qemu).
if [ -x /usr/lib/wine/wine64 ]; then
  WINE64=/usr/lib/wine/wine64
else
  WINE64=$(command -v wine64 || command -v wine)
fi
export WINE64

# Wine maps Japanese file names through the Unix locale, so the locale must exist. Compile
# one of our own when the system has none (no root needed). LOCPATH goes first: bash looks
# the locale up as soon as LC_ALL is assigned.
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
  export LOCPATH="$build_dir/locale"
  if [ ! -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$LOCPATH"
    # Built aside and moved in, so that two scripts starting at once never see half a locale.
    locale_tmp=$(mktemp -d "$LOCPATH/.ja_JP.XXXXXX")
    if localedef -i ja_JP -f UTF-8 "$locale_tmp/ja_JP.UTF-8" >/dev/null 2>&1 ||
      [ -f "$locale_tmp/ja_JP.UTF-8/LC_CTYPE" ]; then
      mv -T "$locale_tmp/ja_JP.UTF-8" "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || true
    else
      echo "warning: could not compile the ja_JP.UTF-8 locale (package 'locales'):" \
        "Japanese file names will fail under Wine" >&2
    fi
    rm -rf "$locale_tmp"
  fi
fi
# bash itself looks the locale up without LOCPATH and would warn; the programs find it.
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
