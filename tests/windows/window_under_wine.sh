#!/usr/bin/env bash
# The Windows export window (tarvik-export.exe) under Wine on an X display: run it under xvfb-run.
# The window is driven with the keyboard and the mouse (xdotool) and read from outside by
# window_probe.exe, as another Windows program reads it; transfer files are compared byte for byte
# with the Linux build's, and refusal texts with what the Linux build reports for the same archive.
#
#   WINDOWS_BUILD_DIR  the Windows build (default build-windows/)
#   BUILD_DIR          the Linux build, for archive-gen and the reference exports (default build/)
set -uo pipefail
cd "$(dirname "$0")/../.."
win_build=$(realpath -m "${WINDOWS_BUILD_DIR:-build-windows}")
linux_build=$(realpath -m "${BUILD_DIR:-build}")
exe=$win_build/tarvik-export.exe
probe_exe=$win_build/tests/window_probe.exe
transfer=$linux_build/tarvik-transfer
archive_gen=$linux_build/tools/archive-gen/archive-gen

for needed in "$exe" "$probe_exe" "$transfer" "$archive_gen"; do
  if [[ ! -f $needed ]]; then
    echo "window_under_wine: $needed is missing (build the Windows and the Linux programs first)" >&2
    exit 1
  fi
done
for tool in wine wineserver xdotool perl; do
  command -v "$tool" >/dev/null || { echo "window_under_wine: $tool is not installed" >&2; exit 1; }
done
if [[ -z ${DISPLAY:-} ]]; then
  echo "window_under_wine: no X display; run it under xvfb-run" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-window-wine.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

readonly caption='Importa dati Tarvik - prima parte'
readonly export_title='Esportazione dati Tarvik'
readonly question_title='Importazione archivi Tarvik'
readonly settings_key='HKCU\Software\VB and VBA Program Settings\Tarvik\Installazione'
# Seconds a window may take to appear under Wine, and a whole export of the scale-1 sample.
readonly appear=60 export_time=300

started=$(date +%s)
wine wineboot --init >/dev/null 2>&1
wineserver -w

# The archives and the Linux build's results for them.
mkdir -p "$work/Tarvik" "$work/run" "$work/uscita con spazi è"
"$archive_gen" sample "$work/Tarvik/Tarvik.mdb" >/dev/null || exit 1
"$transfer" export --folder "$work/Tarvik" --output "$work/linux-yes.txt" --departments yes 2>/dev/null || exit 1
# The department question as the Linux command shows it when it asks: on a terminal (which
# `script` gives it), answered with Enter. The terminal writes each line feed as CR LF.
printf '\n' | script -qec "$(printf '%q ' "$transfer" export --folder "$work/Tarvik" --output "$work/linux-asked.txt")" \
  /dev/null >"$work/linux-asked.tty" || exit 1
"$transfer" export --folder "$work/Tarvik" --output "$work/linux-no.txt" --departments no 2>/dev/null || exit 1
refusals=(outdated duplicate-suppliers missing-destination)
for variant in "${refusals[@]}"; do
  mkdir -p "$work/$variant"
  "$archive_gen" sample --variant "$variant" "$work/$variant/Tarvik.mdb" >/dev/null || exit 1
  # A refusal prints the error panel's text and a line feed; exit code 1.
  "$transfer" export --folder "$work/$variant" --output "$work/$variant.txt" --departments no 2>"$work/$variant.err"
  [[ $? == 1 ]] || { echo "window_under_wine: the Linux build did not refuse $variant" >&2; exit 1; }
done

# --- helpers ---------------------------------------------------------------------------------

failures=0 passed=0 case_failed=0 program=''
fail() {
  echo "    FALLITO: $*" >&2
  case_failed=1
}
# The probe's escaping: "\" "\r" "\n" as two characters each.
escape() { perl -0777 -pe 's/\\/\\\\/g; s/\r/\\r/g; s/\n/\\n/g'; }
field() { sed -n "s/^$1=//p" <<<"$2" | head -1; }
expect() {  # WHAT ACTUAL EXPECTED
  [[ $2 == "$3" ]] || fail "$1: '$2' invece di '$3'"
}
windows_path() { winepath -w "$1" 2>/dev/null; }
set_folder() { wine reg add "$settings_key" /v Cartella /t REG_SZ /d "$1" /f >/dev/null 2>&1; }
clear_folder() { wine reg delete "$settings_key" /f >/dev/null 2>&1 || true; }
probe() { wine "$probe_exe" "$@" 2>/dev/null; }
# Starts the window in folder $1 with the remaining arguments as its command line.
start_window() {
  local dir=$1
  shift
  (cd "$dir" && exec wine "$exe" "$@") &
  program=$!
}
# Waits for the program to end and checks its exit code.
expect_exit() {
  local code=$1 limit=$2 waited=0
  while kill -0 "$program" 2>/dev/null && ((waited < limit * 5)); do
    sleep 0.2
    ((waited++))
  done
  if kill -0 "$program" 2>/dev/null; then
    fail "il programma non è terminato entro $limit s"
    kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null
  else
    wait "$program"
    expect "codice di uscita" "$?" "$code"
  fi
  program=''
}
run_case() {
  local name=$1
  case_failed=0
  rm -rf "$work/run" && mkdir -p "$work/run"
  clear_folder
  "$name"
  if [[ -n $program ]]; then
    kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null
    program=''
  fi
  # The wine server ends by itself once the case's programs are gone, saving the registry.
  timeout 60 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null
  if ((case_failed)); then
    echo "FAIL $name"
    ((failures++))
  else
    echo "ok   $name"
    ((passed++))
  fi
}

# --- cases -----------------------------------------------------------------------------------

# Start-up: the registry folder, with "\" appended, in the folder box; the idle window laid out
# from twips at 96 dots per inch; Alt with a letter does not edit the folder; closing the window
# ends the program and writes nothing.
start_up_shows_the_registry_folder() {
  local folder
  folder=$(windows_path "$work/Tarvik")
  set_folder "${folder%\\}"
  start_window "$work/run"
  local state
  state=$(probe form $appear) || { fail "la finestra non si è aperta"; return; }
  expect "titolo" "$(field caption "$state")" "$caption"
  expect "area client" "$(field client "$state")" "685x475"
  expect "cartella" "$(field folder "$state")" "$(printf '%s\\' "${folder%\\}" | escape)"
  expect "pulsante" "$(field button "$state")" "enabled"
  expect "pannello" "$(field panel "$state")" "hidden"
  expect "tipo di pannello" "$(field panel_kind "$state")" "multiline,readonly,vscroll"
  expect "avanzamento" "$(field progress "$state")" ""
  probe box "$export_title" 1 >/dev/null && fail "un messaggio all'avvio con la cartella presente"
  # The folder box has the keyboard at start-up.
  xdotool key alt+p alt+f alt+c
  sleep 0.5
  expect "cartella dopo Alt" "$(field folder "$(probe form 5)")" "$(field folder "$state")"
  xdotool key alt+F4
  expect_exit 0 30
  [[ -e $work/run/ProvaExport.txt ]] && fail "chiusa la finestra, un file di trasferimento è stato scritto"
}

# "Procedi" pressed with Enter on the focused button exports the sample: the department question
# appears as on Linux, Escape and the close button do not dismiss it, Enter answers Yes, and the
# transfer file ("ProvaExport.txt" in the current folder) is the Linux build's, byte for byte.
procedi_exports_with_yes() {
  set_folder "$(windows_path "$work/Tarvik")"
  start_window "$work/run"
  probe form $appear >/dev/null || { fail "la finestra non si è aperta"; return; }
  xdotool key Tab Return
  local box
  box=$(probe box "$question_title" $export_time) || { fail "la domanda sui reparti non è comparsa"; return; }
  local question
  question=$(perl -0777 -ne 's/\r\n/\n/g; print $1 if /Importazione archivi Tarvik: (.*?)\n\[S\/n\]/s' "$work/linux-asked.tty" |
    escape)
  [[ -n $question ]] || fail "la domanda non è nel rapporto della versione Linux"
  expect "testo della domanda" "$(field text "$box")" "$question"
  expect "pulsanti" "$(field buttons "$box")" "yes:&Sì,no:&No"
  expect "pulsante predefinito" "$(field default "$box")" "yes"
  expect "domanda sulla finestra" "$(field owned "$box")" "yes"
  xdotool key Escape
  sleep 0.5
  xdotool key alt+F4
  sleep 0.5
  probe box "$question_title" 2 >/dev/null || fail "Esc o la chiusura hanno tolto la domanda"
  # The run is paused on the question with header line 1 already in the file.
  xdotool key Return
  expect_exit 0 $export_time
  cmp -s "$work/run/ProvaExport.txt" "$work/linux-yes.txt" || fail "il file di trasferimento differisce da quello Linux"
}

# A click on "Procedi", the question answered No with its letter, and the transfer file path from
# the command line (a folder with blanks and an accented letter): the Linux build's file for No.
procedi_exports_with_no_to_a_named_path() {
  set_folder "$(windows_path "$work/Tarvik")"
  local target
  target="$(windows_path "$work/uscita con spazi è")\\Prova Export.txt"
  start_window "$work/run" "$target"
  local state centre
  state=$(probe form $appear) || { fail "la finestra non si è aperta"; return; }
  centre=$(field button_centre "$state")
  xdotool mousemove "${centre%,*}" "${centre#*,}" click 1
  probe box "$question_title" $export_time >/dev/null || { fail "la domanda sui reparti non è comparsa"; return; }
  xdotool key n
  expect_exit 0 $export_time
  cmp -s "$work/uscita con spazi è/Prova Export.txt" "$work/linux-no.txt" ||
    fail "il file di trasferimento differisce da quello Linux"
  [[ -e $work/run/ProvaExport.txt ]] && fail "scritto anche ProvaExport.txt"
}

# Each archive check's refusal: the error panel shown with the Linux build's text, the button
# disabled, no transfer file, and the window still open until the user closes it.
refusals_show_the_error_panel() {
  local variant
  for variant in "${refusals[@]}"; do
    set_folder "$(windows_path "$work/$variant")"
    start_window "$work/run"
    probe form $appear >/dev/null || { fail "$variant: la finestra non si è aperta"; return; }
    xdotool key Tab Return
    local state='' tries=0
    while ((tries++ < export_time)); do
      state=$(probe form 5)
      [[ $(field panel "$state") == visible ]] && break
      sleep 1
    done
    expect "$variant: pannello" "$(field panel "$state")" "visible"
    expect "$variant: testo del pannello" "$(field panel_text "$state")" "$(head -c -1 "$work/$variant.err" | escape)"
    expect "$variant: pulsante" "$(field button "$state")" "disabled"
    # Enter on the window now presses nothing.
    xdotool key Return
    sleep 1
    kill -0 "$program" 2>/dev/null || fail "$variant: la finestra si è chiusa da sola"
    [[ -e $work/run/ProvaExport.txt ]] && fail "$variant: un file di trasferimento è rimasto"
    xdotool key alt+F4
    expect_exit 0 30
  done
}

# No folder in the registry: the warning, with no owner and centred on the screen, before the
# window; then an empty folder box; a folder typed that does not exist is refused with its own
# message and shown with "\" appended.
missing_folder_is_asked_for() {
  start_window "$work/run"
  local box
  box=$(probe box "$export_title" $appear) || { fail "nessun avviso per la cartella mancante"; return; }
  expect "testo" "$(field text "$box")" "Impossibile trovare la cartella in cui è installato Tarvik. Verificare che il programma sia stato installato. E' possibile digitare manualmente la cartella."
  expect "pulsanti" "$(field buttons "$box")" "ok:OK"
  expect "senza proprietario" "$(field owned "$box")" "no"
  local offset=$(field centre_offset "$box") dx dy
  dx=${offset%,*} dy=${offset#*,}
  ((${dx#-} <= 2 && ${dy#-} <= 2)) || fail "l'avviso non è al centro dello schermo (scarto $offset)"
  probe form 1 >/dev/null && fail "la finestra è comparsa prima della chiusura dell'avviso"
  xdotool key Return
  local state
  state=$(probe form $appear) || { fail "la finestra non si è aperta dopo l'avviso"; return; }
  expect "cartella vuota" "$(field folder "$state")" ""
  xdotool type --delay 20 'Z:\nessuna cartella'
  xdotool key Tab Return
  box=$(probe box "$export_title" 30) || { fail "nessun avviso per la cartella inesistente"; return; }
  expect "testo" "$(field text "$box")" "La cartella specificata non esiste"
  expect "sulla finestra" "$(field owned "$box")" "yes"
  xdotool key Return
  sleep 0.5
  state=$(probe form 5)
  expect "cartella completata" "$(field folder "$state")" 'Z:\\nessuna cartella\\'
  expect "pulsante" "$(field button "$state")" "enabled"
  xdotool key alt+F4
  expect_exit 0 30
}

# At 144 dots per inch the window and its controls grow by half.
layout_follows_the_resolution() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  timeout 60 wineserver -w 2>/dev/null
  set_folder 'C:\Tarvik'
  start_window "$work/run"
  local state
  state=$(probe form $appear) || { fail "la finestra non si è aperta"; return; }
  # 10275 x 7125 twips: 1027.5 and 712.5 pixels, rounded half away from zero.
  expect "area client a 144 dpi" "$(field client "$state")" "1028x713"
  xdotool key alt+F4
  expect_exit 0 30
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
}

run_case start_up_shows_the_registry_folder
run_case procedi_exports_with_yes
run_case procedi_exports_with_no_to_a_named_path
run_case refusals_show_the_error_panel
run_case missing_folder_is_asked_for
run_case layout_follows_the_resolution

echo "window_under_wine: $passed superati, $failures falliti in $(($(date +%s) - started)) s"
((failures == 0))
