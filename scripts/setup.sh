#!/usr/bin/env bash
# Installs what building and testing Dawatik needs on Debian, once; quick when all is present.
# With --program, only what building and running the program needs (scripts/run.sh): not the
# other compilers and the packaging tools.
set -euo pipefail

packages=(
    cmake make g++                         # host build: portable code, tools, native tests
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev  # the Windows program
    googletest                             # GoogleTest sources, built for both targets
    wine64 fonts-wine                      # runs the program and its tests
    xvfb xauth x11-utils imagemagick       # virtual display and screenshots
    fonts-noto-core                        # Noto Naskh Arabic stands in for Traditional Arabic
    fonts-liberation2                      # metric-compatible Arial for the program's own UI
)
if [[ ${1:-} != --program ]]; then
    packages+=(
        g++-mingw-w64-i686-posix           # the 32-bit Windows program
        clang lld llvm                     # the second compiler, LLVM's linker and dlltool
        zip unzip                          # the release package and its test
    )
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
