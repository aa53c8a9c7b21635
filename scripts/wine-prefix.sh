#!/usr/bin/env bash
# Creates the project's Wine prefix once: no crash dialog, a virtual desktop (no window
# manager waits when windows hide, frames in screenshots), and the Windows version that
# VEMO_WINDOWS_VERSION names, if any (scripts/wine-env.sh names the prefix after it). Safe to
# call from several processes at once; a half-made prefix from an interrupted run is made
# again, and so is one without its 32-bit half (made while 32-bit programs could not start).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
# 32-bit programs start before wineboot runs, or the prefix gets no 32-bit half.
. "$(dirname "$0")/wine32-setup.sh"

# Bump when the settings below change, so that existing prefixes get them.
version=3
marker="$WINEPREFIX/.vemo-ready"
ready() {
  [ "$(cat "$marker" 2>/dev/null)" = "$version" ] &&
    [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}
ready && exit 0

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock -w 600 9
ready && exit 0

if [ ! -f "$marker" ] || [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
  # Never marked ready, a leftover of an interrupted creation; or no 32-bit half.
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  echo "Creating the Wine prefix $WINEPREFIX (once, about 20 s)..."
fi
mkdir -p "$WINEPREFIX"
# Wine's background processes inherit our output: send it to a file, never to a pipe.
log="$WINEPREFIX.log"
timeout "$VEMO_WINEBOOT_SECONDS" "$WINE64" wineboot -u >"$log" 2>&1
reg() { timeout "$VEMO_WINE_SETTING_SECONDS" "$WINE64" reg add "$@" /f >>"$log" 2>&1; }
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default
reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024
[ -z "${VEMO_WINDOWS_VERSION:-}" ] ||
  reg 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$VEMO_WINDOWS_VERSION"
timeout "$VEMO_WINE_SETTING_SECONDS" wineserver -w
if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
  echo "error: wineboot made no 32-bit half in $WINEPREFIX (see $log)" >&2
  exit 1
fi
echo "$version" >"$marker"
