#!/usr/bin/env bash
# Unpacks Debian's libpng 1.6 source package (with Debian's patches) into $1.
# The build compiles it with the cross toolchain; nothing prebuilt is used.
set -euo pipefail
dest=${1:?usage: fetch-libpng.sh DEST_DIR}
if [ -f "$dest/src/png.h" ]; then exit 0; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
( cd "$work" && apt-get source -qq --download-only libpng1.6 >/dev/null 2>&1 || apt-get source --download-only libpng1.6 )
dsc=$(ls "$work"/libpng1.6_*.dsc | head -n 1)
mkdir -p "$dest"
rm -rf "$dest/src"
dpkg-source --no-check -x "$dsc" "$dest/src" >/dev/null
test -f "$dest/src/png.h"
echo "libpng source: $(basename "$dsc")"
