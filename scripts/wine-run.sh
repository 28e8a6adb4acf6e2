#!/bin/bash
# Runs a Windows program under Wine in the project's private prefix (created on demand).
# Used by ctest as the cross-compiling emulator. Needs a display (xvfb-run) for GUI tests.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build-win/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
"$here/wine-prefix.sh"
# ctest runs every test case as a program of its own and waits for every
# process that still holds the case's output. Wine's server and background
# programs would hold it for seconds after each case and be started anew for
# the next; started here apart from that output and kept for 10 idle seconds,
# they serve a whole test run. (The first wineserver to start wins; with one
# already running this does nothing.)
if wineserver -p10 </dev/null >/dev/null 2>&1; then
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
# The program's error output goes through a file, not a pipe: the desktop
# process that a GUI program starts keeps it open for a second or two after
# the program ends, and ctest would wait for that after every case. Wine's
# notes about a missing 32-bit Wine are left out.
errors="$(mktemp)"
trap 'rm -f "$errors"' EXIT
status=0
wine "$@" 2>"$errors" || status=$?
grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' \
  "$errors" >&2 || true
exit "$status"
