#!/usr/bin/env bash
# tarvik-transfer.exe on Windows consoles, under Wine on a virtual display (Wine's consoles need
# one; scripts/run-windows-tests.sh runs this under xvfb-run):
#   - started as Explorer starts it, on a console of its own and without a command, it says that
#     it is a command for the console, shows the short usage in Italian (accents as accents) and
#     waits for a key;
#   - from a Prompt (a console shared with it), from a script (no console at all) and with a
#     command on a console of its own (a shortcut), it does not wait.
# console_start.exe starts it either way, reads its console and presses the key.
# Usage: console_under_wine.sh WINDOWS_BUILD_DIR
set -uo pipefail
win_build=$(realpath "$1")
for program in "$win_build/tarvik-transfer.exe" "$win_build/tests/windows/console_start.exe"; do
  [[ -x $program ]] || { echo "manca $program: compilare prima" >&2; exit 1; }
done
# A prefix of its own: one whose Wine processes started without a display has no console window.
export WINEPREFIX=$win_build/wineprefix-console WINEDEBUG=-all
wine_cmd=$(command -v wine || command -v wine64)
work=$win_build/console
# shellcheck source=checks.sh
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
program="Z:$(tr / '\\' <<< "$win_build/tarvik-transfer.exe")"
start() {  # start own|shared NAME ARGS...: console_start's report, without carriage returns, in NAME.txt
  local how=$1 name=$2
  shift 2
  timeout 120 "$wine_cmd" "$win_build/tests/windows/console_start.exe" "$how" "$program" "$@" 2> "$name.err" |
    tr -d '\r' > "$name.txt"
}
has() { grep -qxF -- "$2" "$1" || { echo "  $1 has no line '$2':"; sed 's/^/    /' "$1"; return 1; }; }

# Double-clicked: its own console, no command.
start own clicked
check "double click: it waits for a key" has clicked.txt "waited=yes"
check "double click: it says it is a command for the console" \
  has clicked.txt "screen=tarvik-transfer.exe è un comando per il Prompt dei comandi e per gli script."
check "double click: it names the window program" \
  has clicked.txt "screen=Il trasferimento con la finestra si fa con tarvik-export.exe."
check "double click: the short usage" \
  has clicked.txt "screen=  export [--folder CARTELLA] [--output FILE] [--departments yes|no]"
check "double click: the last line asks for a key" \
  test "$(grep '^screen=.' clicked.txt | tail -1)" = "screen=Premere un tasto per chiudere questa finestra."
check "double click: the key closes it (exit 64, no command)" \
  diff <(grep -E '^(ended|exit)=' clicked.txt) <(printf 'ended=yes\nexit=64\n')

# From a Prompt: the console is shared; the usage error ends it at once.
start shared prompt
check "from a Prompt: no wait, exit 64" \
  diff <(grep -E '^(waited|ended|exit)=' prompt.txt) <(printf 'waited=no\nended=yes\nexit=64\n')

# A shortcut with a command: its own console, but a command to run.
start own shortcut --version
check "a command on its own console: no wait, exit 0" \
  diff <(grep -E '^(waited|ended|exit)=' shortcut.txt) <(printf 'waited=no\nended=yes\nexit=0\n')

# From a script: no console, the usage error on standard error, no wait.
timeout 60 "$wine_cmd" "$win_build/tarvik-transfer.exe" < /dev/null > script.out 2> script.err
rc=$?
check "from a script: exit 64 at once" test "$rc" = 64
check "from a script: the usage error, not the notice" \
  test "$(head -1 script.err | tr -d '\r')" = "tarvik-transfer: nessun comando indicato" -a ! -s script.out

checks_done "Console sotto Wine"
