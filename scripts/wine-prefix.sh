#!/bin/bash
# Creates the private Wine prefix named by $WINEPREFIX on first use: a 64-bit prefix
# with FontLink entries that point the GUI fonts at WenQuanYi, so Chinese renders.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the prefix folder}"
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.quenlit-ready" ] && exit 0
wineboot -i >/dev/null 2>&1 || true
# Wine does not find its own Marlett here, and draws the caption buttons as letters without it.
for font in /usr/share/wine/fonts/marlett.ttf; do
  [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in "Tahoma" "Tahoma Bold" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" \
            "Arial" "Segoe UI" "Liberation Sans" "Lucida Sans Unicode"; do
  wine reg add "$key" /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1 || true
done
# Every program runs inside one 1024x768 virtual desktop: it draws caption bars
# without a window manager, and Wine does not wait on a window manager to hide
# or destroy windows.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 || true
wineserver -w || true
touch "$WINEPREFIX/.quenlit-ready"
