#!/usr/bin/env bash
# The main job on a fresh machine: installs what is needed, builds, and runs the tool on an archive.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
archive=${1:-../shared/corpus/fxjollois-donnees/Comptoir2000.mdb}
./build/tarvik-transfer tables "$archive"
