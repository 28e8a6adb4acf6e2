#!/bin/bash
# Installs what the build, the tests and the Wine runs need on a fresh Debian machine.
set -euo pipefail
packages=(cmake g++ googletest libgtest-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
          fonts-wqy-microhei imagemagick x11-utils python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
