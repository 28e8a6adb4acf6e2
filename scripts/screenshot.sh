#!/bin/bash
# Writes a PNG of the open main window: quenlit.exe runs inside a Wine virtual
# desktop (which draws the caption bar) on a private Xvfb display.
# Usage: scripts/screenshot.sh [out.png]   (default docs/main-window.png)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/main-window.png}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build-win" -j"$(nproc)" --target quenlit
export WINEPREFIX="$root/build-win/wineprefix" WINEDEBUG=-all
"$root/scripts/wine-prefix.sh"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
sleep 1
wine explorer /desktop=quenlit,1024x768 "$root/build-win/quenlit.exe" >/dev/null 2>&1 &
# Wait for the window, then give it time to paint.
for _ in $(seq 1 60); do
  xwininfo -root -tree 2>/dev/null | grep -q quenlit && break
  sleep 0.5
done
sleep "${SETTLE_SECONDS:-4}"
mkdir -p "$(dirname "$out")"
# The window is centred on the 1024x768 desktop: 629x356 at 197,206.
import -window root -crop 629x356+197+206 +repage "$out"
echo "wrote $out"
