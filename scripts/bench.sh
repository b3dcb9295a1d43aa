#!/usr/bin/env bash
# Benchmarks of what users feel, each against a lower bound measured in the same run: start-up,
# Open and Save of 256 KB and 2 MB documents, typing with the keyboard map, the pause the
# recovery copy causes while typing, and the peak memory of an Open. Builds what it needs, runs
# everything in a Wine session of its own and prints one table (see BENCHMARKS.md for what each
# figure measures).
#   bench.sh [build-root]        default: <repo>/build
# BENCH_ROUNDS (default 5) sets the counted rounds of the Open, Save, typing, recovery copy and
# memory figures; start-up runs three times as many, being short, and typing twice as many,
# being noisy.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${1:-$repo/build}
rounds=${BENCH_ROUNDS:-5}
export DAWATIK_JOBS=${DAWATIK_JOBS:-2}

"$repo/scripts/build.sh" "$root" >/dev/null
win="$root/win"
work="$root/bench-run"
rm -rf "$work"
mkdir -p "$work"
# The program gets a folder of its own: its settings file is written beside it.
cp "$win/app/dawatik.exe" "$win/bench/minimal_window.exe" "$work/"

"$repo/scripts/wine-session.sh" start "$win" >/dev/null
trap '"$repo/scripts/wine-session.sh" stop "$win"' EXIT
run() { "$repo/scripts/wine-run.sh" "$win" "$@"; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
wwork=$(winpath "$work")
bench="$win/bench"
results="$work/results.txt"
: >"$results"

echo "bench: documents and Open/Save ($rounds rounds)" >&2
run "$bench/editor_bench.exe" documents "$wwork"
run "$bench/editor_bench.exe" files "$wwork" "$rounds" >>"$results"

echo "bench: start-up ($((rounds * 3)) rounds)" >&2
run "$bench/startup_driver.exe" startup $((rounds * 3)) "$wwork\\dawatik.exe" \
    "$wwork\\minimal_window.exe" >>"$results"

echo "bench: typing ($((rounds * 2)) rounds)" >&2
run "$bench/editor_bench.exe" typing "$wwork\\doc256k.txt" $((rounds * 2)) 300 >>"$results" 2>/dev/null

echo "bench: recovery copy while typing, 2 MB ($rounds rounds)" >&2
# Its rounds and the longest pause of all of them go to recovery.txt.
run "$bench/editor_bench.exe" recovery "$wwork\\doc2m.txt" "$wwork\\recovery\\" "$rounds" 10 \
    >>"$results" 2>"$work/recovery.txt"

echo "bench: peak memory ($rounds rounds)" >&2
# Each figure is one fresh process; the rounds interleave the programs and the documents.
for ((round = 0; round < rounds; round++)); do
    for program in editor bare; do
        for document in - "$wwork\\doc256k.txt" "$wwork\\doc2m.txt"; do
            peak=$(run "$bench/editor_bench.exe" memory "$program" "$document" \
                "$wwork\\edit-model.bin" | sed -n 's/^PEAK|//p' | tr -d '\r')
            echo "MEM|$program|${document##*\\}|$peak" >>"$results"
        done
    done
done

echo "bench: Wine's notepad ($rounds rounds)" >&2
run "$bench/startup_driver.exe" notepad "$rounds" "$wwork\\doc256k.txt" 131071 \
    "$wwork\\doc2m.txt" 1048575 >>"$results" || echo "bench: notepad could not be timed" >&2

tr -d '\r' <"$results" | awk -F'|' '
function median(list,    n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
function row(figure, mine, bound, ratio, target, verdict) {
    printf "%-46s %12s %12s %7s %-18s %s\n", figure, mine, bound, ratio, target, verdict
}
$1 == "ROW" {
    limit = substr($6, 7) + 0
    # The median of the per-round ratios: each round times Dawatik and its bound back to back.
    ratio = $8 + 0
    row($2, sprintf("%.1f", $3), sprintf("%.1f", $4), sprintf("%.3f", ratio),
        "<= " limit "x bound", ratio <= limit ? "pass" : "MISS")
    if ($2 ~ /^Open 256 KB/) open["doc256k.txt"] = $3
    if ($2 ~ /^Open 2 MB/) open["doc2m.txt"] = $3
}
$1 == "MEM" { peaks[$2, $3] = peaks[$2, $3] " " $4 }
$1 == "NOTEPAD_START" { notepadStart = $2 }
$1 == "NOTEPAD" { n = split($2, parts, "\\"); notepad[parts[n]] = $4; notepadTotal[parts[n]] = $3 }
END {
    size["doc256k.txt"] = 256; size["doc2m.txt"] = 2048
    label["doc256k.txt"] = "256 KB"; label["doc2m.txt"] = "2 MB"
    for (d = 1; d <= 2; d++) {
        doc = d == 1 ? "doc256k.txt" : "doc2m.txt"
        mine = median(peaks["editor", doc]) - median(peaks["editor", "-"])
        bound = median(peaks["bare", doc]) - median(peaks["bare", "-"])
        row("Peak memory opening " label[doc] " (KB above empty)", sprintf("%.0f", mine),
            sprintf("%.0f", bound), sprintf("%.3f", bound > 0 ? mine / bound : 0),
            "< 4x file (" 4 * size[doc] ")", mine < 4 * size[doc] ? "pass" : "MISS")
    }
    for (d = 1; d <= 2; d++) {
        doc = d == 1 ? "doc256k.txt" : "doc2m.txt"
        if (doc in notepad)
            row("Open " label[doc] ", Wine notepad in bound column (ms)", sprintf("%.1f", open[doc]),
                sprintf("%.1f", notepad[doc]), sprintf("%.3f", open[doc] / notepad[doc]),
                "comparison only", "-")
    }
    if (notepadStart != "")
        printf "(notepad: start alone %.1f ms; start and open 256 KB %.1f ms, 2 MB %.1f ms; its Open is the difference)\n",
            notepadStart, notepadTotal["doc256k.txt"], notepadTotal["doc2m.txt"]
    printf "(empty program peak working set: Dawatik %.0f KB, bound %.0f KB)\n",
        median(peaks["editor", "-"]), median(peaks["bare", "-"])
}' >"$work/table.txt"

{
    printf "%-46s %12s %12s %7s %-18s %s\n" figure Dawatik "lower bound" ratio target result
    cat "$work/table.txt"
} | tee "$work/table-printed.txt"
