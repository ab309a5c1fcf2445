#!/usr/bin/env bash
# The main job on a fresh machine: installs what is needed, builds, writes the sample Tarvik
# archive into the build folder and exports it. With a display the export window opens on it;
# without one the same run goes through `tarvik-transfer export`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
sample=$PWD/build/sample
mkdir -p "$sample"
./build/tools/archive-gen/archive-gen sample "$sample/Tarvik.mdb"
./build/tarvik-transfer tables "$sample/Tarvik.mdb" > "$sample/tables.txt"
echo "Archivio di esempio: $sample/Tarvik.mdb (tabelle in $sample/tables.txt)"

if [[ -n "${DISPLAY:-}" && -x build/tarvik-export ]]; then
  # The window reads the installation folder from the settings file: a private one for the demo,
  # so the user's own settings are left alone.
  export XDG_CONFIG_HOME=$sample/config
  mkdir -p "$XDG_CONFIG_HOME/Tarvik"
  printf '[Installazione]\nCartella=%s/\n' "$sample" > "$XDG_CONFIG_HOME/Tarvik/Tarvik.ini"
  ./build/tarvik-export "$sample/ProvaExport.txt"
else
  echo "Nessun display disponibile: l'esportazione passa da tarvik-transfer export."
  answer=()
  [[ -t 0 ]] || answer=(--departments yes)
  ./build/tarvik-transfer export --folder "$sample" --output "$sample/ProvaExport.txt" "${answer[@]}"
fi
./build/tarvik-transfer verify "$sample/ProvaExport.txt"
