#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Safe to run again: every step checks first.
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

# libpng is built from Debian's own source package, so apt needs a deb-src entry.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  $SUDO tee /etc/apt/sources.list.d/tunerolle-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

PKGS=(
  cmake ninja-build make dpkg-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  wine wine32:i386 xvfb xauth
  googletest g++ zlib1g-dev
  clang libclang-rt-14-dev file
  fp-utils fonts-wine
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ] || [ "$need_update" = 1 ]; then
  $SUDO apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# MinGW's threads flavour: the posix one gives std::thread and friends.
for alt in i686-w64-mingw32-g++ i686-w64-mingw32-gcc; do
  if [ -e "/usr/bin/$alt-posix" ]; then
    $SUDO update-alternatives --set "$alt" "/usr/bin/$alt-posix" >/dev/null 2>&1 || true
  fi
done
echo "setup: ok"
