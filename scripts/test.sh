#!/usr/bin/env bash
# Sets up, builds and runs every test; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build -j2 --output-on-failure
