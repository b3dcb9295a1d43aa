#!/usr/bin/env bash
# Unpacks a release package into an empty folder in a build tree's Wine prefix, as a user
# unpacks it, and runs the end-to-end test of the package against the program there (see
# tests/e2e/package_test.cpp). Needs the tree's Wine session (wine-session.sh start).
#   package-smoke.sh <build-dir> <package.zip> <e2e_tests.exe>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:?usage: package-smoke.sh <build-dir> <package.zip> <e2e_tests.exe>}
zip=$(realpath "${2:?package}")
tests=${3:?e2e_tests.exe}
# shellcheck source=/dev/null
source "$build/wine/session.env"

name=$(basename "$zip" .zip)
version=${name#dawatik-}
version=${version%-*}
# A folder with a space in its path, as a user's folders often have.
folder="$WINEPREFIX/drive_c/users/Public/Unpacked packages/$name"
rm -rf "$folder"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"

export DAWATIK_PACKAGE_FOLDER="C:\\users\\Public\\Unpacked packages\\$name"
export DAWATIK_PACKAGE_VERSION=$version
status=0
"$here/wine-run.sh" "$build" "$tests" --gtest_filter='Package.*' || status=$?
rm -rf "$folder"
exit "$status"
