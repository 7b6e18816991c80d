#!/usr/bin/env bash
# Sets everything up, builds, and prints where the release archive is: the
# zip a Windows user unzips and runs (both programs, the help file, the
# read-me and the empty Tunerolle\ folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh" "$build"
bash "$root/tools/unpack-release.sh" "$build/win32" "$root" >/dev/null
echo "$build/win32/MeridelMediaPlayer.zip"
