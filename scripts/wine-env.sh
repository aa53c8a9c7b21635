# Sourced by the Wine scripts: the project's private prefix and a Japanese locale.
# BUILD (default: build) is the build folder; the prefix lives under it.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD:-build}
case "$build_dir" in /*) ;; *) build_dir="$top/$build_dir" ;; esac
export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export LC_ALL=ja_JP.UTF-8
# Wine maps Japanese file names through the Unix locale: keep a compiled one of our own.
export LOCPATH="$build_dir/locale"
if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
