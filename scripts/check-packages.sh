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

# The user's guide as the Windows zip holds it: a byte order mark, then every line ended by CR LF.
printf '\xEF\xBB\xBF' > "$work/LEGGIMI.txt"
sed 's/$/\r/' docs/guida.md >> "$work/LEGGIMI.txt"

# Linux: the .deb with the programs in /usr/bin, the README and the user's guide.
(cd build && cpack -G DEB > "$work/cpack.log") || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=build/tarvik-transfer_${version}_amd64.deb
[[ -f $deb ]] || fail "$deb was not made"
dpkg-deb -x "$deb" "$work/deb"
for program in tarvik-transfer tarvik-export archive-gen; do
  [[ -x $work/deb/usr/bin/$program ]] || fail "$deb lacks /usr/bin/$program"
done
[[ -f $work/deb/usr/share/doc/tarvik-transfer/README.md ]] || fail "$deb lacks the README"
cmp -s docs/guida.md "$work/deb/usr/share/doc/tarvik-transfer/guida.md" ||
  fail "$deb lacks the user's guide (/usr/share/doc/tarvik-transfer/guida.md) or holds another one"
[[ $("$work/deb/usr/bin/tarvik-transfer" --version) == *"$version"* ]] ||
  fail "the packed tarvik-transfer does not report $version"
# liburing is linked in whole (CMakeLists.txt): the package's dependencies do not name it.
for program in tarvik-transfer tarvik-export archive-gen; do
  ! objdump -p "$work/deb/usr/bin/$program" | grep -q 'NEEDED *liburing' ||
    fail "the packed $program needs liburing's shared library, which the package does not depend on"
done
echo "ok   $deb"

# Windows: the zip with the three programs and the user's guide as text.
zip=$(bash scripts/package-windows.sh | tail -1)
[[ $(basename "$zip") == "tarvik-transfer-$version-win64.zip" ]] || fail "unexpected zip name $zip"
unzip -q "$zip" -d "$work/zip"
folder=$work/zip/tarvik-transfer-$version-win64
for file in tarvik-transfer.exe tarvik-export.exe archive-gen.exe LEGGIMI.txt; do
  [[ -f $folder/$file ]] || fail "$zip lacks $file"
done
cmp -s "$work/LEGGIMI.txt" "$folder/LEGGIMI.txt" ||
  fail "$zip: LEGGIMI.txt is not the user's guide (docs/guida.md) with Windows line ends"
[[ $(grep -c $'[^\r]$' "$folder/LEGGIMI.txt") == 0 ]] || fail "$zip: LEGGIMI.txt has a line without CR LF"
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wineprefix} WINEDEBUG=-all
[[ $(wine "$folder/tarvik-transfer.exe" --version | tr -d '\r') == *"$version"* ]] ||
  fail "the packed tarvik-transfer.exe does not report $version"
echo "ok   $zip"
