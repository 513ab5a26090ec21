#!/usr/bin/env bash
# Configures and builds into the folder given (default: build). Extra arguments go to cmake.
# BUILD_TARGETS (space-separated) builds only those targets and what they need.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
if [ -n "${BUILD_TARGETS:-}" ]; then
    read -r -a names <<<"$BUILD_TARGETS"
    targets=(--target "${names[@]}")
fi
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
