#!/usr/bin/env bash
# Benchmarks of what users feel, each against a lower bound measured in the same run: start-up,
# Open and Save of 256 KB and 2 MB documents in process, Open of 256 KB, 2 MB and 4 MB documents
# and of 64 KB of long paragraphs through the real program's Open dialog timed from outside
# (beside Wine's notepad), typing with the keyboard map into 256 KB, 2 MB and 4 MB (beside bare
# fields with the platform's word-break rule and with the program's), the pause the recovery copy
# causes while typing, and the peak memory of an Open. Builds what it needs and runs the figures
# in two font set-ups, each in a Wine session of its own, and prints one table for each (see
# BENCHMARKS.md for what each figure measures):
#   - "noto": the set-up run.sh and the tests make, Noto Naskh Arabic standing in for
#     Traditional Arabic, which the program then uses;
#   - "wine": the same prefix without the font stand-ins: Traditional Arabic is missing, so the
#     program falls back to Arial, which Wine maps to a face of its choosing and whose Arabic
#     comes from font fallback.
# Start-up and the recovery copy do not depend on the document's font: they run in the first.
#   bench.sh [build-root]        default: <repo>/build
# BENCH_ROUNDS (default 5) sets the counted rounds of the Open, Save, typing, recovery copy and
# memory figures; start-up runs three times as many, being short, and typing into 256 KB twice
# as many, being noisy. The 4 MB Open takes 5 to 60 s a round: it gets one counted round, as do
# the long paragraphs. BENCH_SETUPS (default "noto wine") chooses the set-ups. With
# BENCH_BARE_FIELD=1 each set-up also times a bare field laying out long lines and taking a
# document in slices (several minutes).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${1:-$repo/build}
rounds=${BENCH_ROUNDS:-5}
setups=${BENCH_SETUPS:-noto wine}
export DAWATIK_JOBS=${DAWATIK_JOBS:-2}

"$repo/scripts/build.sh" "$root" >/dev/null
win="$root/win"
bench="$win/bench"
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# The Wine session of a set-up: the tests' own for "noto", one of the bench's for "wine".
session_of() { [[ $1 == noto ]] && echo "$win" || echo "$root/bench-wine-fonts"; }
describe() {
    [[ $1 == noto ]] && echo "Noto Naskh Arabic as Traditional Arabic (run.sh's set-up)" ||
        echo "no font stand-ins: the program falls back to Arial"
}

session=""
stop_session() {
    [[ -n $session ]] && "$repo/scripts/wine-session.sh" stop "$session"
    session=""
}
trap stop_session EXIT

# Every figure of one set-up into $work/results.txt.
bench_setup() {
    local setup=$1 first=$2
    session=$(session_of "$setup")
    "$repo/scripts/wine-session.sh" start "$session" >/dev/null
    run() { "$repo/scripts/wine-run.sh" "$session" "$@"; }
    if [[ $setup == wine ]]; then
        # Absent already once a run has deleted them; the prefix set-up may bring them back.
        run reg delete 'HKCU\Software\Wine\Fonts\Replacements' /f >/dev/null 2>&1 || true
    fi
    local work="$root/bench-run/$setup"
    rm -rf "$work"
    mkdir -p "$work"
    # The program gets a folder of its own: its settings file is written beside it.
    cp "$win/app/dawatik.exe" "$bench/minimal_window.exe" "$bench/bare_editor.exe" "$work/"
    local wwork results="$work/results.txt"
    wwork=$(winpath "$work")
    : >"$results"

    echo "bench [$setup]: documents and Open/Save ($rounds rounds)" >&2
    run "$bench/editor_bench.exe" documents "$wwork"
    run "$bench/editor_bench.exe" files "$wwork" "$rounds" >>"$results"

    if [[ $first == 1 ]]; then
        echo "bench [$setup]: start-up ($((rounds * 3)) rounds)" >&2
        run "$bench/startup_driver.exe" startup $((rounds * 3)) "$wwork\\dawatik.exe" \
            "$wwork\\minimal_window.exe" "$wwork\\bare_editor.exe" "$wwork\\edit-model.bin" \
            >>"$results"
    fi

    echo "bench [$setup]: Open from outside, with Wine's notepad wrapping" >&2
    # Wine's notepad reads its word wrap from here at start; its field then has no WS_HSCROLL.
    run reg add 'HKCU\Software\Microsoft\Notepad' /v fWrap /t REG_DWORD /d 1 /f >/dev/null 2>&1
    # Its rounds go to open.txt.
    run "$bench/open_driver.exe" "$wwork\\dawatik.exe" "$wwork\\bare_editor.exe" \
        "$wwork\\edit-model.bin" "$wwork\\doc256k.txt" 131071 "$rounds" "$wwork\\doc2m.txt" \
        1048575 "$rounds" "$wwork\\doc4m.txt" 2097151 1 "$wwork\\docpara.txt" 32767 1 \
        >>"$results" 2>"$work/open.txt"

    echo "bench [$setup]: typing ($((rounds * 2)) rounds into 256 KB, $rounds into 2 and 4 MB)" >&2
    run "$bench/editor_bench.exe" typing "$wwork\\doc256k.txt" $((rounds * 2)) 300 \
        >>"$results" 2>/dev/null
    # Each key into a large document costs the platform's bare field more: fewer keys.
    run "$bench/editor_bench.exe" typing "$wwork\\doc2m.txt" "$rounds" 100 >>"$results" 2>/dev/null
    run "$bench/editor_bench.exe" typing "$wwork\\doc4m.txt" "$rounds" 50 >>"$results" 2>/dev/null

    if [[ $first == 1 ]]; then
        echo "bench [$setup]: recovery copy while typing, 2 MB ($rounds rounds)" >&2
        # Its rounds and the longest pause of all of them go to recovery.txt.
        run "$bench/editor_bench.exe" recovery "$wwork\\doc2m.txt" "$wwork\\recovery\\" "$rounds" \
            10 >>"$results" 2>"$work/recovery.txt"
    fi

    echo "bench [$setup]: peak memory ($rounds rounds)" >&2
    # Each figure is one fresh process; the rounds interleave the programs and the documents.
    local round program document peak
    for ((round = 0; round < rounds; round++)); do
        for program in editor bare; do
            for document in - "$wwork\\doc256k.txt" "$wwork\\doc2m.txt"; do
                peak=$(run "$bench/editor_bench.exe" memory "$program" "$document" \
                    "$wwork\\edit-model.bin" | sed -n 's/^PEAK|//p' | tr -d '\r')
                echo "MEM|$program|${document##*\\}|$peak" >>"$results"
            done
        done
    done

    if [[ ${BENCH_BARE_FIELD:-0} == 1 ]]; then
        echo "bench [$setup]: long lines and slices in a bare field" >&2
        bare_field_figures >"$work/bare-field.txt"
    fi
    stop_session
}

# A bare field laying out 32,000 code units, changing one thing at a time from the editor's
# make-up (Tahoma, 72 px, 540 px wide, right to left, the platform's rule, lines of 2,000);
# taking the 2 MB document's text in slices as a progressive Open does, against one WM_SETTEXT;
# and typing into short lines and long paragraphs.
bare_field_figures() {
    local lines=(58 250 500 1000 2000 4000) face
    for l in "${lines[@]}"; do run "$bench/bare_field.exe" lines Tahoma 72 540 1 default 32000 "$l"; done
    for h in 22 36; do run "$bench/bare_field.exe" lines Tahoma "$h" 540 1 default 32000 2000; done
    for w in 300 1000; do run "$bench/bare_field.exe" lines Tahoma 72 "$w" 1 default 32000 2000; done
    run "$bench/bare_field.exe" lines Tahoma 72 540 1 spaces 32000 2000
    run "$bench/bare_field.exe" lines Tahoma 72 540 0 default 32000 2000
    for face in "Traditional Arabic" Arial; do
        run "$bench/bare_field.exe" lines "$face" 72 540 1 default 32000 2000
    done
    # One paragraph of 16,000 units at once, and the same in parts appended at its end.
    run "$bench/bare_field.exe" lines Tahoma 72 540 1 spaces 16000 16000
    for part in 500 2000 8000; do
        run "$bench/bare_field.exe" lines Tahoma 72 540 1 spaces 16000 16000 "$part"
    done
    for slice in 4096 16384 65536; do
        run "$bench/bare_field.exe" slices "Traditional Arabic" 72 spaces 1048575 "$slice" 3
    done
    # A key typed into the middle of 32,000 units in lines of 60, 2,000 and 16,000.
    for l in 60 2000 16000; do
        run "$bench/bare_field.exe" typing "Traditional Arabic" 72 spaces 32000 "$l" 40
    done
}

table() {
    tr -d '\r' <"$1" | awk -F'|' '
function median(list,    n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
function row(figure, mine, bound, ratio, target, verdict) {
    printf "%-46s %12s %12s %7s %-18s %s\n", figure, mine, bound, ratio, target, verdict
}
$1 == "ROW" {
    split($6, target, ":")
    limit = target[2] + 0
    # The median of the per-round ratios: each round times Dawatik and its bound back to back.
    ratio = $8 + 0
    mine = $3 + 0
    if (target[1] == "ratio") { wanted = "<= " limit "x bound"; verdict = ratio <= limit ? "pass" : "MISS" }
    if (target[1] == "atmost") { wanted = "<= " limit " ms"; verdict = mine <= limit ? "pass" : "MISS" }
    if (target[1] == "under") { wanted = "< " limit " ms"; verdict = mine < limit ? "pass" : "MISS" }
    if (target[1] == "none") { wanted = "comparison only"; verdict = "-" }
    row($2, sprintf("%.1f", $3), sprintf("%.1f", $4), sprintf("%.3f", ratio), wanted, verdict)
    if ($2 ~ /^Typing per edit of the field, /) {
        name = $2
        sub(/^Typing per edit of the field, /, "", name)
        sub(/ \(ms\)$/, "", name)
        perEdit[name] = $3 + 0
    }
}
$1 == "MEM" { peaks[$2, $3] = peaks[$2, $3] " " $4 }
$1 == "LINES" {
    direction = $5 == 1 ? "right to left" : "left to right"
    parts = $9 > 0 ? " in parts of " $9 : ""
    unlike = $9 > 0 ? " (" $13 " start unlike one WM_SETTEXT)" : ""
    printf "Bare field: %s %s px, %s px wide, %s, %s rule, %s units in lines of %s%s: %.0f ms (longest step %.0f), %s lines%s, face %s\n",
        $2, $3, $4, direction, $6, $7, $8, parts, $10, $11, $12, unlike, $14
}
$1 == "SLICES" {
    printf "Bare field: %s %s px, %s rule, %s units in slices of %s (%s rounds): one WM_SETTEXT %.0f ms; slices %.0f ms (%.3fx, longest %.0f), with drawing really off %.0f ms (%.3fx, longest %.0f)\n",
        $2, $3, $4, $5, $6, $7, $8, $9, $13, $10, $11, $14, $12
}
$1 == "TYPING" {
    printf "Bare field: %s %s px, %s rule, %s units in lines of %s: a key typed into the middle %.1f ms (longest %.1f, %s keys)\n",
        $2, $3, $4, $5, $6, $8, $9, $7
}
# Without WS_HSCROLL (0x00100000) and ES_AUTOHSCROLL (0x80) the notepad field wraps its lines.
$1 == "NOTEPAD_STYLE" {
    hex = "0123456789abcdef"
    wraps = (index(hex, substr($2, 3, 1)) - 1) % 2 == 0 && index(hex, substr($2, 7, 1)) - 1 < 8
    notepadWraps = (wraps ? "on" : "off") ", style " $2
}
END {
    # Typing into a larger document against 256 KB: flat when each key costs the same.
    for (name in perEdit) if (name != "256 KB" && perEdit["256 KB"] > 0) {
        ratio = perEdit[name] / perEdit["256 KB"]
        row("Typing per edit, " name " vs 256 KB (ms)", sprintf("%.1f", perEdit[name]),
            sprintf("%.1f", perEdit["256 KB"]), sprintf("%.3f", ratio), "<= 1.3x",
            ratio <= 1.3 ? "pass" : "MISS")
    }
    # The figures of the bare field come on their own, with no memory measured.
    if (!(("editor", "-") in peaks))
        exit
    label["doc256k.txt"] = "256 KB"; label["doc2m.txt"] = "2 MB"
    for (d = 1; d <= 2; d++) {
        doc = d == 1 ? "doc256k.txt" : "doc2m.txt"
        mine = median(peaks["editor", doc]) - median(peaks["editor", "-"])
        bound = median(peaks["bare", doc]) - median(peaks["bare", "-"])
        ratio = bound > 0 ? mine / bound : 0
        row("Peak memory opening " label[doc] " (KB above empty)", sprintf("%.0f", mine),
            sprintf("%.0f", bound), sprintf("%.3f", ratio), "<= 1.1x bound",
            ratio <= 1.1 ? "pass" : "MISS")
    }
    if (notepadWraps != "")
        printf "(notepad in the bound column; its field\x27s word wrap: %s)\n", notepadWraps
    printf "(empty program peak working set: Dawatik %.0f KB, bound %.0f KB)\n",
        median(peaks["editor", "-"]), median(peaks["bare", "-"])
}'
}

first=1
for setup in $setups; do
    bench_setup "$setup" "$first"
    first=0
done

printed="$root/bench-run/table-printed.txt"
: >"$printed"
for setup in $setups; do
    work="$root/bench-run/$setup"
    {
        echo "== font set-up \"$setup\": $(describe "$setup")"
        printf "%-46s %12s %12s %7s %-18s %s\n" figure Dawatik "lower bound" ratio target result
        table "$work/results.txt"
        [[ -f $work/bare-field.txt ]] && table "$work/bare-field.txt"
        echo
    } | tee -a "$printed"
done
