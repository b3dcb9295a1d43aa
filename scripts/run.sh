#!/usr/bin/env bash
# Builds the program and its manual (not the tests) and starts Dawatik under Wine. With a display
# it runs until you close it; without one it runs in a virtual display, saves a screenshot and
# prints its path.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh" --program
"$repo/scripts/build.sh" --program "$repo/build"

# The program runs from a folder of its own: its settings file is written beside it.
run="$repo/build/run"
mkdir -p "$run/app"
cp "$repo/build/win/app/dawatik.exe" "$run/app/"
cp "$repo/build/win/app/readme_en.html" "$run/app/"

if [[ -n ${DISPLAY:-} ]]; then
    "$repo/scripts/wine-session.sh" prefix "$run" >/dev/null
    # shellcheck source=/dev/null
    source "$run/wine/prefix.env"
    cd "$run/app"
    exec /usr/lib/wine/wine64 dawatik.exe
fi

"$repo/scripts/wine-session.sh" start "$run"
trap '"$repo/scripts/wine-session.sh" stop "$run"' EXIT
cd "$run/app"
"$repo/scripts/wine-run.sh" "$run" dawatik.exe &
sleep "${DAWATIK_SCREENSHOT_DELAY:-4}"
shot="$run/screenshot.png"
# shellcheck source=/dev/null
source "$run/wine/session.env"
import -window root "$shot"
echo "Dawatik ran in a virtual display; screenshot: $shot"
