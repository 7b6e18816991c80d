#!/usr/bin/env bash
# Builds everything: the native rules and tests, then the Windows programs and
# their tests. Usage: build.sh [BUILD_DIR]   (default: ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/native"

cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32.cmake" \
      -DNATIVE_BUILD_DIR="$build/native" >/dev/null
cmake --build "$build/win32"
