#!/usr/bin/env bash
# Unzips the release archive as a user would and checks what it holds: the two
# programs and the help file as built, the read-me, and an empty Tunerolle\
# folder. The end-to-end tests then start the programs from there.
# Usage: unpack-release.sh WIN32_BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
zip="$build/MeridelMediaPlayer.zip"
out="$build/unzipped"
[ -f "$zip" ] || { echo "no archive at $zip" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"
(cd "$out" && cmake -E tar xf "$zip")

expected=$(printf '%s\n' MeridelMediaPlayer MeridelMediaPlayer/LISEZMOI.txt \
  MeridelMediaPlayer/MeridelMediaPlayer_Help.chm MeridelMediaPlayer/OrvandelRadio.exe \
  MeridelMediaPlayer/Tunerolle MeridelMediaPlayer/Tunerolle.exe)
actual=$(cd "$out" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  echo "the archive holds:" >&2; echo "$actual" >&2
  echo "expected:" >&2; echo "$expected" >&2
  exit 1
fi
app="$out/MeridelMediaPlayer"
[ -d "$app/Tunerolle" ] || { echo "Tunerolle is not a folder" >&2; exit 1; }
cmp "$app/Tunerolle.exe" "$build/playlist/Tunerolle.exe"
cmp "$app/OrvandelRadio.exe" "$build/radio/OrvandelRadio.exe"
cmp "$app/MeridelMediaPlayer_Help.chm" "$build/playlist/MeridelMediaPlayer_Help.chm"
cmp "$app/LISEZMOI.txt" "$source/dist/LISEZMOI.txt"
echo "archive unpacked to $app"
