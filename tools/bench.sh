#!/usr/bin/env bash
# Builds and runs the playlist benchmark under Wine in a virtual display and
# prints its figures. Usage: bench.sh [BUILD_DIR]   (default: ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
if [ ! -f "$build/win32/build.ninja" ]; then
  bash "$root/tools/build.sh" "$build"
fi
cmake --build "$build/win32" --target bench_playlist
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash "$root/tools/wine-run.sh" "$build/win32" 600 "$build/win32/tests/bench_playlist.exe"
