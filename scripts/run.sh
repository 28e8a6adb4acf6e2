#!/bin/bash
# Installs what is missing, builds quenlit.exe and starts it under Wine.
# Uses the current display, or a virtual one when there is none.
#
# Unless a search site is configured, the program is pointed at the bundled
# sample site (demo/search_site.py, on 127.0.0.1), which runs while the program
# is open, so a search shows real rows without network: try ubuntu, 纪录片,
# python or any other word (pages 1 to 5 have hits). The sample run uses a copy
# of the program in build-win/sample-site/, with a quenlit.ini naming the site,
# so the export file lands there too.
#
# A site is configured when build-win/quenlit.ini exists (see README) or the
# build was given a host other than the placeholder, e.g.
#   scripts/run.sh -DQUENLIT_SEARCH_HOST=example.org
# Arguments go to cmake. DEMO_PORT picks the sample site's port (default: a
# free one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-win"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" --target quenlit
export WINEPREFIX="$build/wineprefix"

run_under_wine() {
  if [ -n "${DISPLAY:-}" ]; then
    "$root/scripts/wine-run.sh" "$1"
  else
    xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$1"
  fi
}

host="$(sed -n 's/^QUENLIT_SEARCH_HOST:STRING=//p' "$build/CMakeCache.txt")"
if [ -f "$build/quenlit.ini" ] || [ "$host" != "search.example.invalid" ]; then
  run_under_wine "$build/quenlit.exe"
  exit
fi

port="${DEMO_PORT:-$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')}"
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
  kill -0 "$site" 2>/dev/null || { echo "the sample site did not start (port $port in use? set DEMO_PORT)" >&2; exit 1; }
  sleep 0.1
done

sample="$build/sample-site"
mkdir -p "$sample"
cp -f "$build/quenlit.exe" "$sample/quenlit.exe"
printf '; written by scripts/run.sh: the bundled sample site\r\n[site]\r\naddress=127.0.0.1:%s\r\n' "$port" >"$sample/quenlit.ini"
echo "sample search site on http://127.0.0.1:$port (search for ubuntu, 纪录片, python or any word)"
run_under_wine "$sample/quenlit.exe"
