#!/usr/bin/env bash
# The Windows build's tests under Wine: the cross-built test program, the programs end to end
# against the Linux build's (build/ must hold a Linux build), the command on a console of its own,
# and the export window driven on a virtual X display. Console programs redirected to files need
# no display; a console window does.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh
[[ -x build/tarvik-transfer ]] || bash scripts/build.sh
export WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all
ctest --test-dir build-windows --output-on-failure
bash tests/windows/wine_e2e.sh build-windows build
# The command on consoles of its own and shared ones (Wine's consoles need a display).
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash tests/windows/console_under_wine.sh build-windows
# The export window driven under Wine (it keeps a Wine prefix of its own).
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash tests/windows/window_under_wine.sh
