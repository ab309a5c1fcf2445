#!/usr/bin/env bash
# The rooms' picture of docs/architecture.md, made again: docs/rooms.dot from the rooms declared
# in CMakeLists.txt (cmake/rooms_dot.cmake), then docs/rooms.svg from it with Graphviz's dot
# (the graphviz package, which scripts/install-deps.sh installs). Commit both files; the test
# rooms_picture fails while docs/rooms.dot does not show the rooms as declared.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v dot >/dev/null || { echo "render-docs: Graphviz's dot not found (bash scripts/install-deps.sh installs it)" >&2; exit 2; }
cmake -DSOURCE_DIR="$PWD" -DOUT=docs/rooms.dot -P cmake/rooms_dot.cmake
dot -Tsvg docs/rooms.dot -o docs/rooms.svg
echo "docs/rooms.dot docs/rooms.svg"
