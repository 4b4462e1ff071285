#!/usr/bin/env bash
# Sets up, builds and plays the bundled demo game: in a window when there is
# a display, otherwise headless for a few seconds with a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ -x build/kwplay ] && build/kwplay --help >/dev/null 2>&1 && [ -d build/games/demo ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/kwplay build/games/demo "$@"
  else
    exec build/kwplay --headless --frames 300 --screenshot build/demo.png build/games/demo "$@"
  fi
fi
exec build/kwplay --version
