#!/usr/bin/env bash
# Renders the generated manual in headless Chromium and saves its keyboard drawing, cropped, as a
# PNG (default docs/keyboard.png). Installs Chromium when it is missing.
#   manual-shot.sh [out.png]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-$repo/docs/keyboard.png}")
"$repo/scripts/setup.sh" --program
if ! command -v chromium >/dev/null; then
    echo "manual-shot: installing chromium"
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        chromium >/dev/null
fi

cmake -S "$repo" -B "$repo/build/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$repo/build/host" -j "${DAWATIK_JOBS:-$(nproc)}" --target dawatik_manual_file \
    >/dev/null
manual="$repo/build/host/generated/readme_en.html"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The window is tall enough for the whole page, so no scrolling decides what is in the picture.
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --force-device-scale-factor=2 --hide-scrollbars \
    --screenshot="$work/page.png" --window-size=1000,7000 "file://$manual" 2>"$work/chromium.log"

# The keyboard's frame has a colour of its own in the page: its bounding box is the picture.
frame='#c4d2dd'
box=$(convert "$work/page.png" -alpha off -fill white +opaque "$frame" \
    -fill black -opaque "$frame" -format '%@' info:)
if [[ ! $box =~ ^[1-9][0-9]*x[1-9][0-9]*\+ ]]; then
    echo "manual-shot: no keyboard found in the rendered page ($work/chromium.log)" >&2
    cat "$work/chromium.log" >&2
    exit 1
fi
convert "$work/page.png" -crop "$box" +repage -bordercolor '#fbfcfc' -border 12 "$out"
echo "manual-shot: $out ($box of the page)"
