#!/usr/bin/env bash
# Creates the project's Wine prefix once: no crash dialog, a virtual desktop (no window
# manager waits, frames in screenshots).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
[ -f "$WINEPREFIX/.vemo-ready" ] && exit 0
mkdir -p "$WINEPREFIX"
wineboot -u >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/.vemo-ready"
