#!/usr/bin/env bash
# One command for every test: installs what is missing, builds, and runs the
# native, in-process Wine and end-to-end tests under a virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh" "$build"
build=$(cd "$build" && pwd)
cd "$build/win32"
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure --timeout 600 --no-tests=error
