#!/usr/bin/env bash
# Configures and builds both trees: build/host (portable code, tools, native tests) and
# build/win (the Windows program and its tests, cross-compiled with MinGW-w64).
#   build.sh [build-root]      default: <repo>/build
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${1:-$repo/build}
jobs=${DAWATIK_JOBS:-$(nproc)}

cmake -S "$repo" -B "$root/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/host" -j "$jobs"

cmake -S "$repo" -B "$root/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DDAWATIK_HOST_BUILD_DIR="$root/host" >/dev/null
cmake --build "$root/win" -j "$jobs"
