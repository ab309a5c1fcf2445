#!/usr/bin/env bash
# Builds the Windows programs and packs them for users: tarvik-transfer-VERSION-win64.zip in the
# build folder (build-windows/ or BUILD_DIR) with the three programs and the user's guide as text.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-windows}
BUILD_DIR=$build_dir bash scripts/build-windows.sh
version=$(sed -n 's/.*kVersion = "\(.*\)";/\1/p' "$build_dir/generated/common/version.h")
[[ -n $version ]] || { echo "versione non trovata in $build_dir/generated/common/version.h" >&2; exit 1; }

stage=$build_dir/package/tarvik-transfer-$version-win64
rm -rf "$build_dir/package" && mkdir -p "$stage"
cp "$build_dir/tarvik-transfer.exe" "$build_dir/tools/archive-gen/archive-gen.exe" "$stage/"
if [[ -f $build_dir/tarvik-export.exe ]]; then
  cp "$build_dir/tarvik-export.exe" "$stage/"
else
  echo "attenzione: tarvik-export.exe non c'è (la finestra Win32 non è nel sorgente)" >&2
fi
# The Italian user's guide as a text file Notepad opens: Windows line ends, and the UTF-8 byte
# order mark by which older Notepads know the encoding of its accents.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' docs/guida.md; } > "$stage/LEGGIMI.txt"
for licence in LICENSE LICENSE.txt COPYING; do
  [[ -f $licence ]] && sed 's/$/\r/' "$licence" > "$stage/LICENZA.txt"
done
zip_path=$(realpath "$build_dir")/tarvik-transfer-$version-win64.zip
rm -f "$zip_path"
(cd "$build_dir/package" && zip -qr -X "$zip_path" "tarvik-transfer-$version-win64")
echo "$zip_path"
