#!/usr/bin/env bash
# The main job on a fresh machine: installs what is needed, builds, writes the sample Tarvik
# archive into the build folder and runs the tool on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
sample=build/sample
mkdir -p "$sample"
./build/tools/archive-gen/archive-gen sample "$sample/Tarvik.mdb"
./build/tarvik-transfer tables "$sample/Tarvik.mdb"
