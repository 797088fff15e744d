#!/usr/bin/env bash
# Installs the dependencies, builds and starts rovantel on the bundled demo in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
BUILD_DIR=$(cd "${BUILD_DIR:-build}" && pwd)
# ROVANTEL_LANG=fr or en starts the French or English build.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: rovantel runs offscreen and shows nothing (Ctrl-C ends it)." >&2
fi
cd examples
exec "$BUILD_DIR/rovantel${ROVANTEL_LANG:+-$ROVANTEL_LANG}"
