#!/usr/bin/env bash
# Runs the playlist reader's fuzzer for a bounded time on a copy of the seed corpus.
# Usage: fuzz.sh NATIVE_BUILD_DIR CORPUS SECONDS
set -euo pipefail
build=${1:?}; corpus=${2:?}; secs=${3:?}
fuzzer="$build/tests/native/fuzz_playlist_reader"
[ -x "$fuzzer" ] || { echo "fuzzer not built: $fuzzer"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$corpus"/. "$work"/
"$fuzzer" -max_total_time="$secs" -timeout=5 -rss_limit_mb=1024 -print_final_stats=1 "$work" 2>&1 | tail -n 15
