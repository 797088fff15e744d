#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer (leak checks included) and
# UndefinedBehaviorSanitizer into build-asan/ (or $BUILD_DIR) and runs it; any finding fails
# its test. Extra arguments go to ctest, e.g. scripts/sanitize.sh -R VarFile.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-asan}
JOBS=${JOBS:-3}
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROVANTEL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
# The build runs sanitized programs too (the example files are drawn by them).
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake --build "$BUILD_DIR" -j"$JOBS"
cd "$BUILD_DIR"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ctest --output-on-failure -j"$JOBS" "$@"
