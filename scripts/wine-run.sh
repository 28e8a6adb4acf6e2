#!/bin/bash
# Runs a Windows program under Wine in the project's private prefix (created on demand).
# Used by ctest as the cross-compiling emulator. Needs a display (xvfb-run) for GUI tests.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build-win/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
"$here/wine-prefix.sh"
exec wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
