#!/usr/bin/env bash
# Sets everything up and starts a program under Wine.
# Usage: run.sh [tunerolle|radio]   (default: tunerolle)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh" "$build"
export BUILD_DIR="$build/win32"
. "$root/tools/wine-env.sh"
bash "$root/tools/wine-prefix.sh" "$BUILD_DIR"
case "${1:-tunerolle}" in
  radio) exe="$BUILD_DIR/radio/OrvandelRadio.exe" ;;
  *)     exe="$BUILD_DIR/playlist/Tunerolle.exe" ;;
esac
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: starting the program inside a virtual one (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$exe"
fi
exec wine "$exe"
