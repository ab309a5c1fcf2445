#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of each fuzz target, then the
# Windows build under Wine, its export window on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

bash scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"

BUILD_DIR=build-sanitize bash scripts/build.sh -DTARVIK_SANITIZE=ON -DTARVIK_BENCH=OFF
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)"

bash scripts/fuzz-smoke.sh

# The Windows build under Wine (console programs need no display): its test program, then its
# programs end to end against the Linux build's.
bash scripts/build-windows.sh
export WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all
ctest --test-dir build-windows --output-on-failure
bash tests/windows/wine_e2e.sh build-windows build
# The export window driven under Wine (it keeps a Wine prefix of its own).
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash tests/windows/window_under_wine.sh
