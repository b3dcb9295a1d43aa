#!/usr/bin/env bash
# Writes the font set-up of a Wine prefix as a .reg file next to it: Noto Naskh Arabic stands
# in for "Traditional Arabic", the metric-compatible Liberation faces for Arial and friends, and
# the X11 settings for a display without a window manager.
set -euo pipefail
prefix=${1:?prefix}
out="$(dirname "$prefix")/fonts.reg"
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"Traditional Arabic"="Noto Naskh Arabic"\r\n'
    printf '"Arial"="Liberation Sans"\r\n'
    printf '"Times New Roman"="Liberation Serif"\r\n'
    printf '"Courier New"="Liberation Mono"\r\n'
    printf '\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
    # Wine draws the captions itself (there is no window manager), and does not wait for one:
    # with managed windows, hiding or destroying a shown window takes two seconds.
    printf '"Decorated"="N"\r\n'
    printf '"Managed"="N"\r\n'
    printf '\r\n'
} >"$out"
