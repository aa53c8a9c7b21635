#!/usr/bin/env bash
# The one place Wine is set up: every Windows program that make test and make run start runs
# in a session of this script.
#   scripts/wine.sh prepare [VERSION]...
#       sets up steps 1 to 4 for the prefix of each VERSION, runs nothing
#   scripts/wine.sh [--windows VERSION] [--user-display] COMMAND [ARGUMENT]...
#       steps 1 to 7: COMMAND (ctest, say) in a session of its own
# VERSION is the Windows version Wine reports: "" (the default) for Wine's own, winxp, ...
#  1. The time limits (scripts/time-limits.sh) and Wine's environment: a prefix of the
#     project's own under the build folder (BUILD, default build), one per VERSION, so that
#     sessions in different prefixes can run at once.
#  2. A Japanese locale: Wine maps file names through the Unix locale.
#  3. 32-bit programs: started by the kernel, or through qemu-i386 (registered here where the
#     kernel cannot), with what qemu needs exported.
#  4. The prefix, made once, after step 3: a prefix made while 32-bit programs cannot start
#     gets no 32-bit half.
#  5. The prefix for this session alone (another session in it is waited for), and a display:
#     an Xvfb of the session's own; with --user-display the caller's DISPLAY when there is one
#     (VEMO_WINE_DISPLAY says which: own or user).
#  6. A wineserver kept warm for the session, its Wine desktop up, and the first start: the
#     shipped 32-bit vemofix.exe must print its version. Where it does not, the session stops
#     here (exit status 3) with Wine's own words, instead of every test waiting for a window
#     that cannot come.
#  7. COMMAND, with all of the above in its environment; the server and the display end with
#     it. Its exit status is the session's.
# Two files stay apart: scripts/time-limits.sh, which CMake reads too, and
# scripts/wine-exec.sh, CMake's emulator for the Windows tests, which only starts a program in
# the session it finds.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$top/scripts/time-limits.sh"

# --- 1. Limits and environment -------------------------------------------------------------
build=${BUILD:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
prefix_of() { echo "$build/wineprefix${1:+-$1}"; }
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

# --- 2. Locale -------------------------------------------------------------------------------
# Compiled under the build folder when the system has none (no root needed). LOCPATH goes
# first: bash looks the locale up as soon as LC_ALL is assigned.
setup_locale() {
  locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$' && return 0
  export LOCPATH="$build/locale"
  [ -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ] && return 0
  mkdir -p "$LOCPATH"
  # Built aside and moved in, so that two sessions starting at once never see half a locale.
  local made
  made=$(mktemp -d "$LOCPATH/.ja_JP.XXXXXX")
  if localedef -i ja_JP -f UTF-8 "$made/ja_JP.UTF-8" >/dev/null 2>&1 ||
    [ -f "$made/ja_JP.UTF-8/LC_CTYPE" ]; then
    mv -T "$made/ja_JP.UTF-8" "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || true
  else
    echo "warning: could not compile the ja_JP.UTF-8 locale (package 'locales'):" \
      "Japanese file names will fail under Wine" >&2
  fi
  rm -rf "$made"
}

# --- 3. 32-bit programs ------------------------------------------------------------------------
#  - Where qemu-i386 is registered for i386 binaries (by us, or by anyone before), the kernel
#    hands every 32-bit program to it, so its environment is exported, whether or not the
#    kernel could run them itself.
#  - Else, where the kernel runs 32-bit binaries, nothing is needed.
#  - Else ("Exec format error": 32-bit emulation switched off) qemu-i386 is registered once
#    per boot (needs root) and its environment exported.
# VEMO_WINE32 says which (native or qemu).
wine32_loader=/usr/lib/wine/wine
binfmt=/proc/sys/fs/binfmt_misc

# Guest address space of a 32-bit program under qemu: 2 GiB and 16 MiB. Without a reserved
# size Wine's loader cannot map the shared user data (c0000018); with the whole 4 GiB
# (0xffff0000) every start takes about 50 s, as Wine (no wine-preloader in Debian) reserves the
# space above 2 GiB in 64 KiB steps under a qemu that ignores MAP_FIXED_NOREPLACE, and each
# step costs qemu a search of that space; at 0x80200000 and below no program starts (seen
# here). The programs are large-address aware, but none needs more than 2 GiB: the largest list
# a test rewrites is 2 MiB, and vemofix.exe rewrites the benchmark's 18.7 MB list in this space.
reserved_va=0x81000000

# True when qemu-i386 is registered and enabled: the kernel hands 32-bit binaries to it.
qemu_registered() {
  [ -e "$binfmt/qemu-i386" ] && head -n 1 "$binfmt/qemu-i386" | grep -qx enabled
}

# Registers qemu-i386 for i386 ELF executables and shared objects; F: qemu is opened now, so
# it works in any mount namespace.
register_qemu() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
  [ -e "$binfmt/qemu-i386" ] ||
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' |
    $sudo tee "$binfmt/register" >/dev/null
  # Registered but switched off by someone: switched on again.
  qemu_registered || echo 1 | $sudo tee "$binfmt/qemu-i386" >/dev/null
}

# The loader's own words when it does not start (an "Exec format error", say), else nothing.
wine32_fails() {
  local words
  words=$( (export LC_ALL=C && "$wine32_loader" --version) 2>&1 >/dev/null) && return 1
  echo "${words:-$wine32_loader exited with status $?}"
}

# Builds scripts/qemu-mmap-preload.c for the guest's address space (once per build folder;
# built aside and moved in, as several sessions may start at once) and has qemu preload it
# into every 32-bit program: a start takes about half a second instead of three. Without it
# (no compiler, say) everything still works, slowly.
qemu_preload() {
  local source="$top/scripts/qemu-mmap-preload.c"
  local library="$build/qemu/mmap-preload-$reserved_va.so"
  if [ ! -f "$library" ] || [ "$source" -nt "$library" ]; then
    mkdir -p "$build/qemu"
    local made
    made=$(mktemp "$build/qemu/.mmap-preload.XXXXXX")
    # 32-bit code from the 64-bit compiler, linked to the i386 C library wine32 brings.
    if gcc -m32 -O2 -fPIC -ffreestanding -nostdinc -nostdlib -shared -Wall -Werror \
      -DVEMO_GUEST_TOP="${reserved_va}ULL" -o "$made" "$source" \
      /usr/lib/i386-linux-gnu/libc.so.6 >/dev/null 2>&1; then
      mv -f "$made" "$library"
    else
      rm -f "$made"
      echo "warning: could not build $source: 32-bit programs start slowly" >&2
      return 0
    fi
  fi
  export QEMU_SET_ENV="LD_PRELOAD=$library"
}

setup_wine32() {
  if [ ! -x "$wine32_loader" ]; then
    echo "error: $wine32_loader is missing (package wine32:i386, scripts/install-deps.sh)" >&2
    return 1
  fi
  local failure
  if ! qemu_registered; then
    failure=$(wine32_fails) || {
      export VEMO_WINE32=native
      return 0
    }
    echo "32-bit programs do not start here ($failure): registering qemu-i386"
    register_qemu || return 1
  fi
  export QEMU_RESERVED_VA=$reserved_va
  qemu_preload
  if failure=$(wine32_fails); then
    echo "error: 32-bit programs do not start, not even under qemu-i386: $failure" >&2
    return 1
  fi
  export VEMO_WINE32=qemu
}

# --- 4. The prefix ---------------------------------------------------------------------------
# Made once: no crash dialog, a virtual desktop (no window manager waits when windows hide,
# frames in screenshots), and the Windows version $1 names, if any. Safe to call from several
# sessions at once; a half-made prefix from an interrupted run is made again, and so is one
# without its 32-bit half (made while 32-bit programs could not start).
prefix_version=3 # bumped when the settings below change, so that existing prefixes get them
prefix_ready() {
  [ "$(cat "$WINEPREFIX/.vemo-ready" 2>/dev/null)" = "$prefix_version" ] &&
    [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

make_prefix() { # VERSION; WINEPREFIX names the prefix
  prefix_ready && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock -w "$VEMO_WINEBOOT_SECONDS" 9 || return 1
  prefix_ready && return 0
  if [ ! -f "$WINEPREFIX/.vemo-ready" ] ||
    [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    echo "Creating the Wine prefix $WINEPREFIX (once, about 20 s)..."
  fi
  mkdir -p "$WINEPREFIX"
  # Wine's background processes inherit our output: send it to a file, never to a pipe.
  local log="$WINEPREFIX.log"
  timeout "$VEMO_WINEBOOT_SECONDS" "$WINE64" wineboot -u >"$log" 2>&1 || return 1
  reg() { timeout "$VEMO_WINE_SETTING_SECONDS" "$WINE64" reg add "$@" /f >>"$log" 2>&1; }
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 &&
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default &&
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 &&
    { [ -z "$1" ] || reg 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$1"; } &&
    timeout "$VEMO_WINE_SETTING_SECONDS" wineserver -w || {
    echo "error: the settings of $WINEPREFIX were not made (see $log)" >&2
    return 1
  }
  if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "error: wineboot made no 32-bit half in $WINEPREFIX (see $log)" >&2
    return 1
  fi
  echo "$prefix_version" >"$WINEPREFIX/.vemo-ready"
}

# Steps 1 to 4 for every VERSION given, the prefixes made at the same time.
prepare() {
  setup_locale
  # bash itself looks the locale up without LOCPATH and would warn; the programs find it.
  { export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
  setup_wine32 || return 1
  local version pids=() status=0
  for version in "$@"; do
    (export WINEPREFIX="$(prefix_of "$version")" && make_prefix "$version") &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  return $status
}

if [ "${1:-}" = prepare ]; then
  shift
  [ $# -gt 0 ] || set -- ""
  prepare "$@"
  exit
fi

version=""
display=own
while [ $# -gt 0 ]; do
  case "$1" in
    --windows) version=$2 && shift 2 ;;
    --user-display)
      [ -n "${DISPLAY:-}" ] && display=user
      shift
      ;;
    *) break ;;
  esac
done
if [ $# -eq 0 ]; then
  echo "usage: scripts/wine.sh [--windows VERSION] [--user-display] COMMAND..." >&2
  exit 2
fi
prepare "$version" || exit 1
export WINEPREFIX=$(prefix_of "$version")

# --- 5. The prefix alone, and a display -------------------------------------------------------
# One session a prefix: a session ends its prefix's wineserver, and with it the programs of any
# other session in that prefix (make run beside make test, two test runs of one tree). A second
# session waits for the first. Nothing the session starts keeps the lock (8>&-).
exec 8>"$WINEPREFIX.session"
if ! flock -n 8; then
  echo "Another Wine session uses $WINEPREFIX: waiting for it to end..."
  if ! flock -w "$VEMO_SESSION_WAIT_SECONDS" 8; then
    echo "error: the other Wine session in $WINEPREFIX did not end within" \
      "$VEMO_SESSION_WAIT_SECONDS s"
    exit 1
  fi
fi

# Xvfb picks a free number and writes it once it takes clients.
xvfb=""
number=""
end_session() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null
  rm -f "$number"
}
trap end_session EXIT
if [ "$display" = own ]; then
  number=$(mktemp "${TMPDIR:-/tmp}/vemo-display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 </dev/null 8>&- &
  xvfb=$!
  deadline=$((SECONDS + VEMO_DISPLAY_SECONDS))
  until [ -s "$number" ]; do
    if ! kill -0 "$xvfb" 2>/dev/null || [ $SECONDS -ge $deadline ]; then
      echo "error: Xvfb did not start"
      exit 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$number")"
fi
export VEMO_WINE_DISPLAY=$display

# --- 6. A warm wineserver and the first start ------------------------------------------------
wineserver -p >/dev/null 2>&1 </dev/null 8>&-
"$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null 8>&-
version_built=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/windows/CMakeCache.txt" 2>/dev/null)
started=$SECONDS
out=$(mktemp "${TMPDIR:-/tmp}/vemo-first-start.XXXXXX")
timeout -k 5 "$VEMO_FIRST_START_SECONDS" "$WINE64" "$build/windows/vemofix.exe" --version \
  >"$out" 2>&1 </dev/null 8>&-
said=$(iconv -f CP932 -t UTF-8 -c "$out" | tr -d '\r')
rm -f "$out"
if [ -z "$version_built" ] || [ "$(head -n 1 <<<"$said")" != "$version_built" ]; then
  echo "error: the shipped 32-bit vemofix.exe does not start under Wine" \
    "(32-bit programs: ${VEMO_WINE32:-?}); it printed:"
  sed 's/^/  /' <<<"${said:-(nothing)}"
  echo "No Windows program can run: the session stops here."
  exit 3
fi
echo "32-bit programs start (${VEMO_WINE32:-?}): vemofix.exe --version printed $version_built" \
  "after $((SECONDS - started)) s"

# --- 7. The command ----------------------------------------------------------------------------
"$@" 8>&-
