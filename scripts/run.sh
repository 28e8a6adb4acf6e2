#!/bin/bash
# Installs what is missing, builds quenlit.exe and starts it under Wine.
# Uses the current display, or a virtual one when there is none.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
cmake --build "$root/build-win" -j"$(nproc)" --target quenlit
export WINEPREFIX="$root/build-win/wineprefix"
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" "$root/build-win/quenlit.exe"
else
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$root/build-win/quenlit.exe"
fi
