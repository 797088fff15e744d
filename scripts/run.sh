#!/usr/bin/env bash
# Installs the dependencies, builds and starts a program in examples/: rovantel on the bundled
# demo recording, or with the argument "kelvora" the port calculator with its port sketch.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-rovantel}
case "$program" in
  rovantel | kelvora) ;;
  *) echo "usage: bash scripts/run.sh [rovantel|kelvora]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh
bash scripts/build.sh
BUILD_DIR=$(cd "${BUILD_DIR:-build}" && pwd)
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: $program runs offscreen and shows nothing (Ctrl-C ends it)." >&2
fi
cd examples
if [ "$program" = kelvora ]; then
  exec "$BUILD_DIR/kelvora"
fi
# ROVANTEL_LANG=fr or en starts the French or English build.
exec "$BUILD_DIR/rovantel${ROVANTEL_LANG:+-$ROVANTEL_LANG}"
