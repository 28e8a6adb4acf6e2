#!/bin/bash
# Tries quenlit without internet: starts the bundled sample search site
# (demo/search_site.py) on 127.0.0.1, builds the program pointed at it
# (build-demo, configured with QUENLIT_SEARCH_HOST=127.0.0.1:PORT) and starts
# it under Wine. Search for ubuntu, 纪录片, python or any other word; pages 1
# to 5 have hits. The site stops when the program is closed.
# Usage: scripts/demo.sh            (DEMO_PORT=8765 by default)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
port="${DEMO_PORT:-8765}"
build="$root/build-demo"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DQUENLIT_SEARCH_HOST="127.0.0.1:$port" >/dev/null
cmake --build "$build" -j"$(nproc)" --target quenlit

python3 "$root/demo/search_site.py" --port "$port" &
site=$!
trap 'kill "$site" 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  python3 - "$port" <<'PY' && break
import socket, sys
try:
    socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=0.2).close()
except OSError:
    sys.exit(1)
PY
  kill -0 "$site" 2>/dev/null || { echo "the demo site did not start (port $port in use? set DEMO_PORT)" >&2; exit 1; }
  sleep 0.1
done

export WINEPREFIX="$build/wineprefix"
if [ -n "${DISPLAY:-}" ]; then
  "$root/scripts/wine-run.sh" "$build/quenlit.exe"
else
  xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$build/quenlit.exe"
fi
