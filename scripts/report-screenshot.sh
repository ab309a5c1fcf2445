#!/usr/bin/env bash
# Takes the transfer report's screenshot for the README, docs/report.png: the report of an export
# of the sample archive, rendered by headless Chromium from Debian. Not for CI: it installs the
# package itself (as root) when it is missing. Needs a build (BUILD_DIR, default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "${BUILD_DIR:-build}")

if ! command -v chromium >/dev/null; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends chromium fonts-liberation2
fi

# A fixed folder, so the picture shows a plain path.
work=${TMPDIR:-/tmp}/tarvik-report-screenshot
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Tarvik" "$work/profile"
"${ARCHIVE_GEN:-$build_dir/tools/archive-gen/archive-gen}" sample "$work/Tarvik/Tarvik.mdb" >/dev/null
"$build_dir/tarvik-transfer" export --folder "$work/Tarvik/" --output "$work/ProvaExport.txt" --departments no \
  2>"$work/export.log" || { cat "$work/export.log" >&2; exit 1; }

# A fresh profile, and nothing that reaches the network: the page needs nothing from outside.
chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --disable-sync --no-first-run --user-data-dir="$work/profile" --hide-scrollbars \
  --window-size=1000,1400 --screenshot="$work/report.png" "file://$work/ProvaExport.html" 2>"$work/chromium.log" \
  || { cat "$work/chromium.log" >&2; exit 1; }
cp "$work/report.png" docs/report.png
echo "docs/report.png"
