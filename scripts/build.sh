#!/usr/bin/env bash
# Configures once, then builds incrementally into build/: the targets named, else everything.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build "${targets[@]}" -- -j"$(nproc)"
