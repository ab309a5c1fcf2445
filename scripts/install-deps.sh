#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test (run as root).
# Packages already present are left alone, so a second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config   # the build
  liburing-dev                                  # the archive's batched page reads (io_uring)
  ccache                                        # shorter rebuilds
  libgtest-dev libbenchmark-dev                 # tests and benchmarks
  nlohmann-json3-dev                            # archive-gen reads JSON descriptions
  clang libclang-rt-14-dev                      # libFuzzer targets and sanitizers
  mdbtools                                      # independent Jet reader, a test oracle
  time                                          # peak memory in the benchmarks (/usr/bin/time -v)
  qt6-base-dev fonts-liberation2                # the export window (Qt 6 Widgets) and its fonts
  dpkg-dev file unzip                           # the packages and their check
  graphviz                                      # docs/rooms.svg (scripts/render-docs.sh); no build or test runs it
)
# The Windows build (scripts/build-windows.sh): MinGW-w64 with posix threads, Wine to run its
# programs and tests, GoogleTest's sources to build it for Windows, zip for the package; a virtual
# X display, xdotool, Wine's fonts and the picture tools for the window's tests and screenshots.
if [[ ${1:-} == --windows ]]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 googletest zip)
  packages+=(xvfb xauth xdotool x11-apps netpbm fonts-wine)
fi
# Node.js runs the mdb-reader oracle; keep an installed one (it brings its own npm).
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installazione dei pacchetti: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The mdb-reader oracle, pinned by its lock file.
if [[ ! -d tests/oracle/node_modules ]]; then
  (cd tests/oracle && npm ci --no-audit --no-fund)
fi
