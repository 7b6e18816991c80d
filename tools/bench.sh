#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine in a virtual display and prints
# one line per case: our time, its floor, the ratio and the target. Figures
# to read; nothing here passes or fails. About 2½ minutes on 2 cores.
# Usage: bench.sh [BUILD_DIR]   (default: ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
if [ ! -f "$build/win32/build.ninja" ]; then
  bash "$root/tools/build.sh" "$build"
fi
cmake --build "$build/win32" --target bench_playlist bench_startup
# Wine reports on stderr each time something asks for the volume label of
# its Z: drive (the Unix root); that line says nothing about our figures.
cat >"$build/bench-run.sh" <<RUN
set -e
{
  bash "$root/tools/wine-run.sh" "$build/win32" 600 "$build/win32/tests/bench_playlist.exe"
  bash "$root/tools/wine-run.sh" "$build/win32" 300 "$build/win32/tests/bench_startup.exe" --no-header
} 2> >(grep -v 'FS volume label and serial are not available' >&2)
RUN
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$build/bench-run.sh"
