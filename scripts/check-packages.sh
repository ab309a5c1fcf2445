#!/usr/bin/env bash
# Makes the packages a user installs and checks what is in them: the Linux .deb (CPack, from
# build/) and the Windows zip (scripts/package-windows.sh, from build-windows/). Each must carry
# its programs under the project's version, and the packed tarvik-transfer must report that
# version when run.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project([^)]*VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "check-packages: no version in CMakeLists.txt" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "check-packages: $*" >&2; exit 1; }

# Linux: the .deb with the programs in /usr/bin and the README.
(cd build && cpack -G DEB > "$work/cpack.log") || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=build/tarvik-transfer_${version}_amd64.deb
[[ -f $deb ]] || fail "$deb was not made"
dpkg-deb -x "$deb" "$work/deb"
for program in tarvik-transfer tarvik-export archive-gen; do
  [[ -x $work/deb/usr/bin/$program ]] || fail "$deb lacks /usr/bin/$program"
done
[[ -f $work/deb/usr/share/doc/tarvik-transfer/README.md ]] || fail "$deb lacks the README"
[[ $("$work/deb/usr/bin/tarvik-transfer" --version) == *"$version"* ]] ||
  fail "the packed tarvik-transfer does not report $version"
echo "ok   $deb"

# Windows: the zip with the three programs and the README as text.
zip=$(bash scripts/package-windows.sh | tail -1)
[[ $(basename "$zip") == "tarvik-transfer-$version-win64.zip" ]] || fail "unexpected zip name $zip"
unzip -q "$zip" -d "$work/zip"
folder=$work/zip/tarvik-transfer-$version-win64
for file in tarvik-transfer.exe tarvik-export.exe archive-gen.exe LEGGIMI.txt; do
  [[ -f $folder/$file ]] || fail "$zip lacks $file"
done
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wineprefix} WINEDEBUG=-all
[[ $(wine "$folder/tarvik-transfer.exe" --version | tr -d '\r') == *"$version"* ]] ||
  fail "the packed tarvik-transfer.exe does not report $version"
echo "ok   $zip"
