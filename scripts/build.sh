#!/usr/bin/env bash
# Configures and builds both trees: build/host (portable code, tools, native tests) and
# build/win (the Windows program and its tests, cross-compiled with MinGW-w64).
#   build.sh [--program] [build-root]      default: <repo>/build
# With --program only the program, its manual and the host tools they need are built: what
# run.sh starts. Without it everything is built, tests and benchmarks too.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
host_targets=()
win_targets=()
if [[ ${1:-} == --program ]]; then
    host_targets=(--target dawatik_artwork_files dawatik_manual_file)
    win_targets=(--target dawatik dawatik_manual_copy)
    shift
fi
root=${1:-$repo/build}
jobs=${DAWATIK_JOBS:-$(nproc)}

cmake -S "$repo" -B "$root/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/host" -j "$jobs" "${host_targets[@]}"

cmake -S "$repo" -B "$root/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DDAWATIK_HOST_BUILD_DIR="$root/host" >/dev/null
cmake --build "$root/win" -j "$jobs" "${win_targets[@]}"
