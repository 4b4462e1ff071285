#!/usr/bin/env bash
# Configures and builds kwplay into build/ (two jobs, as on the CI machine).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j"${KW_JOBS:-2}"
