#!/usr/bin/env bash
# Takes the export window's screenshots for the README, from the real program on a virtual X
# display: docs/window-idle.png (the folder filled in from the settings) and
# docs/window-refusal.png (an archive check's refusal in the error panel).
# Needs a build (BUILD_DIR, default build/) and the packages xvfb, xauth, twm, xfonts-base,
# x11-apps, netpbm and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "${BUILD_DIR:-build}")
# A fixed folder, so the pictures show a plain path.
work=${TMPDIR:-/tmp}/tarvik-screenshots
rm -rf "$work"
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/Tarvik" "$work/TarvikDoppi" "$work/config/Tarvik"
# twm with the fonts of xfonts-base only.
cat >"$work/twmrc" <<'TWMRC'
TitleFont "-misc-fixed-bold-r-normal--13-*-*-*-*-*-iso8859-1"
MenuFont "fixed"
IconFont "fixed"
ResizeFont "fixed"
IconManagerFont "fixed"
RandomPlacement
NoGrabServer
TWMRC
"$build_dir/tools/archive-gen/archive-gen" sample "$work/Tarvik/Tarvik.mdb" >/dev/null
"$build_dir/tools/archive-gen/archive-gen" sample --variant duplicate-suppliers "$work/TarvikDoppi/Tarvik.mdb" >/dev/null

# One shot: the window with the given installation folder; with "press", after a click on Procedi.
shot() {
  local folder=$1 action=$2 out=$3
  printf '[Installazione]\nCartella=%s\n' "$folder" >"$work/config/Tarvik/Tarvik.ini"
  XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 900x650x24 -dpi 96" bash -c '
    set -euo pipefail
    twm -f "$1/twmrc" >/dev/null 2>&1 &
    sleep 1
    cd "$1"
    "$2/tarvik-export" "$1/ProvaExport.txt" &
    program=$!
    win=$(xdotool search --sync --name "^Importa dati Tarvik - prima parte$" | head -1)
    xdotool windowmove "$win" 40 40
    sleep 1
    if [ "$3" = press ]; then
      # The middle of "Procedi" (2880, 2040, 1935, 615 twips).
      xdotool mousemove --window "$win" 256 156 click 1
      sleep 2
    fi
    xdotool mousemove 880 630
    sleep 0.5
    # The window manager'"'"'s frame, with the caption, is the window'"'"'s parent.
    frame=$(xwininfo -children -id "$win" | awk "/Parent window id/ {print \$4}")
    xwd -silent -id "$frame" | xwdtopnm 2>/dev/null | pnmtopng >"$4"
    kill "$program"
  ' shot "$work" "$build_dir" "$action" "$out"
}

shot "$work/Tarvik" idle "$PWD/docs/window-idle.png"
shot "$work/TarvikDoppi" press "$PWD/docs/window-refusal.png"
echo "docs/window-idle.png docs/window-refusal.png"
