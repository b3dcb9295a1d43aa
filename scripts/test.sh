#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native tests and, under
# Wine in a virtual display, the Windows tests. Ends with ctest's summary.
#   test.sh [ctest arguments...]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh"
"$repo/scripts/build.sh" "$repo/build"
exec ctest --test-dir "$repo/build/win" --output-on-failure "$@"
