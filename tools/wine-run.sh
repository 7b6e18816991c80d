#!/usr/bin/env bash
# Runs one Windows program under the test prefix, bounded in time.
# Usage: wine-run.sh BUILD_DIR SECONDS PROGRAM.exe [ARGS...]
set -uo pipefail
export BUILD_DIR=${1:?}; secs=${2:?}; shift 2
. "$(dirname "$0")/wine-env.sh"
bash "$(dirname "$0")/wine-prefix.sh" "$BUILD_DIR" || exit 1
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; run the tests through tools/test.sh (xvfb-run)" >&2
  exit 1
fi
timeout -k 5 "$secs" wine "$@"
