#!/usr/bin/env bash
# Creates the test prefix once. Usage: wine-prefix.sh BUILD_DIR
set -euo pipefail
export BUILD_DIR=${1:?usage: wine-prefix.sh BUILD_DIR}
. "$(dirname "$0")/wine-env.sh"
stamp="$WINEPREFIX/.ready"
[ -f "$stamp" ] && exit 0
mkdir -p "$WINEPREFIX"
exec 9>"$BUILD_DIR/wineprefix.lock"
flock -w 120 9
[ -f "$stamp" ] && exit 0
timeout -k 5 120 wineboot -i >/dev/null 2>&1
# Unmanaged windows: otherwise hiding every top-level window costs ~2 s under Xvfb.
timeout -k 5 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# A crash must fail the test, not wait on a dialog.
timeout -k 5 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
timeout -k 5 60 wineserver -w
touch "$stamp"
