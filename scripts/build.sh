#!/usr/bin/env bash
# Configures and builds everything into build/ (or $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# WERROR=1 turns warnings into errors, as CI builds; WERROR=0 turns that off. Unset, a build
# folder keeps its setting, so that starting the program after the tests rebuilds nothing.
werror=()
case "${WERROR:-}" in
  1) werror=(-DROVANTEL_WERROR=ON) ;;
  0) werror=(-DROVANTEL_WERROR=OFF) ;;
esac
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${werror[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
