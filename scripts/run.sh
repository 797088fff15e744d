#!/usr/bin/env bash
# Installs the dependencies, builds and starts rovantel on the bundled demo in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -x "$BUILD_DIR/rovantel" ]; then
  echo "rovantel is not built yet: the run-time layer and signal functions come first." >&2
  exit 1
fi
cd examples
exec "../$BUILD_DIR/rovantel${ROVANTEL_LANG:+-$ROVANTEL_LANG}"
