#!/usr/bin/env bash
# Builds the release package twice, from two copies of the sources in folders of different names
# and depths, each with its own build trees, and compares the two zips: the same sources must
# give the same bytes. Prints both hashes; the first package stays in <work>/dist.
#   package-twice.sh <work-folder> [win64|win32]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(realpath -m "${1:?usage: package-twice.sh <work-folder> [win64|win32]}")
target=${2:-win64}
# Both are dated from the commit the copies come from.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

rm -rf "$work"
copies=("$work/one" "$work/deeper/the-second-copy-of-dawatik")
for copy in "${copies[@]}"; do
    mkdir -p "$copy"
    # The working tree as a clone of it would hold it, changes not yet committed included.
    git -C "$repo" ls-files -z --cached --others --exclude-standard |
        tar -C "$repo" --null --ignore-failed-read -T - -cf - | tar -C "$copy" -xf -
    echo "package-twice: building in $copy"
    "$copy/scripts/package.sh" "$target" >"$copy.log" 2>&1 || {
        tail -30 "$copy.log" >&2
        exit 1
    }
done

zips=("${copies[0]}"/dist/dawatik-*-"$target".zip "${copies[1]}"/dist/dawatik-*-"$target".zip)
for zip in "${zips[@]}"; do
    echo "$(sha256sum "$zip" | cut -d' ' -f1)  $(stat -c %s "$zip") bytes  $zip"
done
mkdir -p "$work/dist"
cp "${zips[0]}" "${zips[0]}.sha256" "$work/dist/"
if ! cmp -s "${zips[0]}" "${zips[1]}"; then
    echo "package-twice: the two packages differ" >&2
    diff <(unzip -lv "${zips[0]}" | awk 'NR>3 {print $1, $5, $6, $7, $8}') \
        <(unzip -lv "${zips[1]}" | awk 'NR>3 {print $1, $5, $6, $7, $8}') >&2 || true
    exit 1
fi
echo "package-twice: the same bytes from both folders"
