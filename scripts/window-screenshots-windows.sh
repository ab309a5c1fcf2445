#!/usr/bin/env bash
# Takes the Windows export window's screenshots for the README, from the real program under Wine on
# a virtual X display: docs/window-windows.png (the folder filled in from the registry) and
# docs/window-windows-refusal.png (an archive check's refusal in the error panel). Wine draws the
# window's frame itself, as Windows does.
# Needs the Windows build (WINDOWS_BUILD_DIR, default build-windows/), the Linux build's archive-gen
# (BUILD_DIR, default build/) and the packages of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
win_build=$(realpath "${WINDOWS_BUILD_DIR:-build-windows}")
archive_gen=$(realpath "${BUILD_DIR:-build}")/tools/archive-gen/archive-gen
work=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-screenshots-windows.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

# A plain folder, so the pictures show a short path.
mkdir -p "$work/Tarvik" "$work/TarvikDoppi"
"$archive_gen" sample "$work/Tarvik/Tarvik.mdb" >/dev/null
"$archive_gen" sample --variant duplicate-suppliers "$work/TarvikDoppi/Tarvik.mdb" >/dev/null

xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" bash -c '
  set -euo pipefail
  work=$1 win_build=$2 docs=$3
  wine wineboot --init >/dev/null 2>&1
  # Wine draws the caption and the frame, so the picture needs no X window manager.
  wine reg add "HKCU\Software\Wine\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # Wine'"'"'s own fonts (fonts-wine), Marlett for the caption buttons among them, where Wine reads
  # the system'"'"'s fonts.
  cp /usr/share/wine/fonts/*.ttf "$work/prefix/drive_c/windows/Fonts/"
  wineserver -w
  ln -s "$work/Tarvik" "$work/prefix/drive_c/Tarvik"
  ln -s "$work/TarvikDoppi" "$work/prefix/drive_c/TarvikDoppi"
  probe() { wine "$win_build/tests/window_probe.exe" "$@" 2>/dev/null; }

  shot() {
    local folder=$1 action=$2 out=$3
    wine reg add "HKCU\Software\VB and VBA Program Settings\Tarvik\Installazione" /v Cartella /t REG_SZ \
      /d "$folder" /f >/dev/null 2>&1
    (cd "$work" && exec wine "$win_build/tarvik-export.exe") &
    local program=$!
    local state
    state=$(probe form 60)
    if [ "$action" = press ]; then
      local centre
      centre=$(sed -n "s/^button_centre=//p" <<<"$state")
      xdotool mousemove "${centre%,*}" "${centre#*,}" click 1
      for _ in $(seq 120); do
        probe form 5 | grep -q "^panel=visible" && break
        sleep 1
      done
    fi
    # The pointer away from the window, and the caret given time to settle.
    xdotool mousemove 790 590
    sleep 1
    local win
    win=$(xdotool search --onlyvisible --name "^Importa dati Tarvik - prima parte$" | head -1)
    xwd -silent -id "$win" | xwdtopnm 2>/dev/null | pnmtopng >"$out"
    kill "$program"
    wait "$program" || true
    timeout 60 wineserver -w || wineserver -k
  }
  shot "C:\\Tarvik" idle "$docs/window-windows.png"
  shot "C:\\TarvikDoppi" press "$docs/window-windows-refusal.png"
' shot "$work" "$win_build" "$PWD/docs"
echo "docs/window-windows.png docs/window-windows-refusal.png"
