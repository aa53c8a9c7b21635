#!/usr/bin/env bash
# Creates the project's Wine prefix once: no crash dialog, a virtual desktop (no window
# manager waits when windows hide, frames in screenshots). Safe to call from several
# processes at once; a half-made prefix from an interrupted run is made again.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

# Bump when the settings below change, so that existing prefixes get them.
version=3
marker="$WINEPREFIX/.vemo-ready"
[ "$(cat "$marker" 2>/dev/null)" = "$version" ] && exit 0

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock -w 600 9
[ "$(cat "$marker" 2>/dev/null)" = "$version" ] && exit 0

if [ ! -f "$marker" ]; then
  # Never marked ready: whatever is there is a leftover of an interrupted creation.
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
timeout "$VEMO_WINE_SETTING_SECONDS" wineserver -w
echo "$version" >"$marker"
