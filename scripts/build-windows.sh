#!/usr/bin/env bash
# Cross-builds the Windows programs into build-windows/ (or BUILD_DIR): tarvik-transfer.exe,
# tools/archive-gen/archive-gen.exe, tarvik-export.exe (when the Win32 window is in the tree) and
# the test program, all linked statically. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows

build_dir=${BUILD_DIR:-build-windows}
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DTARVIK_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DTARVIK_BENCH=OFF "${launcher[@]}" "$@"
cmake --build "$build_dir" -j"$(nproc)"

# No program may need a DLL beyond those every Windows has.
for exe in "$build_dir"/tarvik-transfer.exe "$build_dir"/tools/archive-gen/archive-gen.exe \
           "$build_dir"/tarvik-export.exe; do
  [[ -f $exe ]] || continue
  if x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name' |
      grep -viqE 'KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|COMCTL32|COMDLG32|msvcrt|ole32|UxTheme|dwmapi|api-ms-win'; then
    echo "$exe needs a DLL that Windows does not bring:" >&2
    x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name' >&2
    exit 1
  fi
done
echo "Programmi per Windows in $build_dir/"
