#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one: scripts/fuzz.sh NAME [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang++ >/dev/null || { DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang; }
BUILD_DIR=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DROVANTEL_FUZZ=ON -DROVANTEL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fsanitize=fuzzer-no-link" >/dev/null
cmake --build "$BUILD_DIR" -j"${JOBS:-3}" --target "fuzz_$1"
mkdir -p "$BUILD_DIR/corpus_$1"
dirs=("$BUILD_DIR/corpus_$1")
[ -d "fuzz/seeds/$1" ] && dirs+=("fuzz/seeds/$1")
"$BUILD_DIR/fuzz/fuzz_$1" -max_total_time="${2:-60}" "${dirs[@]}" 2>&1 | tail -n 5
