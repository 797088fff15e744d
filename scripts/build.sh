#!/usr/bin/env bash
# Configures and builds everything into build/ (or $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# WERROR=1 turns warnings into errors, as CI builds.
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DROVANTEL_WERROR=$([ "${WERROR:-0}" = 1 ] && echo ON || echo OFF) >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
