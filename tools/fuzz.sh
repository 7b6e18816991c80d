#!/usr/bin/env bash
# Runs the playlist reader's fuzzer for a bounded time on a copy of the seed corpus.
# A failing input is kept in NATIVE_BUILD_DIR/fuzz-artifacts/ and shown in hex.
# Usage: fuzz.sh NATIVE_BUILD_DIR CORPUS SECONDS
set -euo pipefail
build=${1:?}; corpus=${2:?}; secs=${3:?}
fuzzer="$build/tests/native/fuzz_playlist_reader"
[ -x "$fuzzer" ] || { echo "fuzzer not built: $fuzzer"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$corpus"/. "$work"/
artifacts="$build/fuzz-artifacts/"
mkdir -p "$artifacts"
if "$fuzzer" -max_total_time="$secs" -timeout=5 -rss_limit_mb=1024 -print_final_stats=1 \
     -artifact_prefix="$artifacts" "$work" >"$work.log" 2>&1; then
  tail -n 12 "$work.log"; rm -f "$work.log"
else
  status=$?
  tail -n 60 "$work.log"; rm -f "$work.log"
  for f in "$artifacts"*; do [ -f "$f" ] && { echo "== $f"; od -A x -t x1z "$f" | head -n 20; }; done
  exit $status
fi
