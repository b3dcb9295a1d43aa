#!/usr/bin/env bash
# Builds the release package for one Windows target and writes it, with its SHA-256, into
# <repo>/dist: dawatik-<version>-win64.zip (the default) or dawatik-<version>-win32.zip. It holds
# dawatik.exe (optimised, stripped, no tests), its manual readme_en.html and README.txt.
# The same sources give the same bytes wherever they are built: the entries go in a fixed order,
# dated from the last commit (or SOURCE_DATE_EPOCH), with fixed permissions and no owners.
#   package.sh [win64|win32]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:-win64}
case $target in
win64) toolchain=mingw-w64-x86_64.cmake ;;
win32) toolchain=mingw-w64-i686.cmake ;;
*)
    echo "usage: package.sh [win64|win32]" >&2
    exit 2
    ;;
esac
jobs=${DAWATIK_JOBS:-$(nproc)}
"$repo/scripts/setup.sh"

if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    if ! SOURCE_DATE_EPOCH=$(git -C "$repo" log -1 --format=%ct 2>/dev/null); then
        echo "package: $repo is no git checkout: set SOURCE_DATE_EPOCH to date the entries" >&2
        exit 1
    fi
fi

# Trees of its own: the package's build options never mix with the development build's.
root="$repo/build/package-$target"
cmake -S "$repo" -B "$root/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/host" -j "$jobs" --target dawatik_artwork_files dawatik_manual_file
cmake -S "$repo" -B "$root/win" -DCMAKE_BUILD_TYPE=Release -DDAWATIK_PACKAGE=ON \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/$toolchain" -DDAWATIK_HOST_BUILD_DIR="$root/host" >/dev/null
cmake --build "$root/win" -j "$jobs" --target dawatik dawatik_manual_copy

# The version the program was built with names the package.
version=$(sed -n 's/^#define DAWATIK_VERSION "\(.*\)"$/\1/p' "$root/win/configured/app/version.h")
[[ -n $version ]] || { echo "package: no version in $root/win/configured/app/version.h" >&2; exit 1; }
name="dawatik-$version-$target"

stage="$root/stage"
rm -rf "$stage"
mkdir -p "$stage"
cp "$root/win/app/dawatik.exe" "$root/win/app/readme_en.html" \
    "$root/win/resources/package/README.txt" "$stage/"
chmod 0644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

mkdir -p "$repo/dist"
zip="$repo/dist/$name.zip"
rm -f "$zip" "$zip.sha256"
# -X: no owners and no Unix times; the zip's own times are local ones, so the zone is fixed.
(cd "$stage" && TZ=UTC zip -X -q -9 "$zip" README.txt dawatik.exe readme_en.html)
(cd "$repo/dist" && sha256sum "$name.zip" >"$name.zip.sha256")
echo "package: $zip ($(stat -c %s "$zip") bytes)"
cat "$zip.sha256"
