#!/usr/bin/env bash
# Runs a Windows executable inside the build tree's Wine session (see wine-session.sh).
#   wine-run.sh <build-dir> <program.exe> [arguments...]
set -euo pipefail
build=${1:?build dir}
shift
envfile="$build/wine/session.env"
if [[ ! -f $envfile ]]; then
    echo "wine-run: no Wine session for $build (run wine-session.sh start first)" >&2
    exit 1
fi
# shellcheck source=/dev/null
source "$envfile"
exec /usr/lib/wine/wine64 "$@"
