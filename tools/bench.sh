#!/usr/bin/env bash
# Builds and runs the playlist and start-up benchmarks under Wine in a virtual display and
# prints its figures. Usage: bench.sh [BUILD_DIR]   (default: ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
if [ ! -f "$build/win32/build.ninja" ]; then
  bash "$root/tools/build.sh" "$build"
fi
cmake --build "$build/win32" --target bench_playlist bench_startup
cat >"$build/bench-run.sh" <<RUN
set -e
bash "$root/tools/wine-run.sh" "$build/win32" 600 "$build/win32/tests/bench_playlist.exe"
bash "$root/tools/wine-run.sh" "$build/win32" 300 "$build/win32/tests/bench_startup.exe"
RUN
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$build/bench-run.sh"
