#!/usr/bin/env bash
# Builds the Windows program and its tests a second time with clang (for 64-bit Windows, against
# the MinGW-w64 headers and libraries), warnings as errors, to keep the code clean for more than
# one compiler. Nothing is run: the tests run on the GCC build. The benchmarks are left out.
#   build-clang.sh <host-build-dir> <clang-build-dir>
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
host=$(realpath -m "${1:?usage: build-clang.sh <host-build-dir> <clang-build-dir>}")
out=$(realpath -m "${2:?clang build dir}")
jobs=${DAWATIK_JOBS:-$(nproc)}

cmake -S "$repo" -B "$out" -DCMAKE_BUILD_TYPE=Release -DDAWATIK_BENCH=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/clang-mingw-w64-x86_64.cmake" \
    -DDAWATIK_HOST_BUILD_DIR="$host" >/dev/null
cmake --build "$out" -j "$jobs"
