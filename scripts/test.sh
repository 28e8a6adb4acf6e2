#!/bin/bash
# Builds and runs every test: the native core tests (built with ASan and UBSan)
# and the Windows tests (mingw build under Wine in Xvfb, through ctest).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="${JOBS:-$(nproc)}"

echo "== native core tests (ASan + UBSan)"
cmake -S "$root" -B "$root/build-native-asan" -DQUENLIT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build-native-asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$root/build-native-asan" --output-on-failure

echo "== Windows build and tests under Wine"
cmake -S "$root" -B "$root/build-win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build-win" -j"$jobs"
WINEPREFIX="$root/build-win/wineprefix" "$root/scripts/wine-prefix.sh"
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$root/build-win" --output-on-failure
