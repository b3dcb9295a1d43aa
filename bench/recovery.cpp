// The pause the recovery copy causes while typing into a 2 MB document: keys typed, a pause in
// which the copy is taken, keys typed while the copy is written, with the copy on and off in
// interleaved rounds.

#include "bench/bench_common.h"
#include "bench/editor_bench.h"

#include "app/Unit1.h"
#include "app/recovery.h"

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr wchar_t kKeys[] = L"salam 3lykm ktab ";

// One key press as the keyboard sends it, drawn, and whatever it queued handled: its time.
double typeKey(HWND edit, int i) {
    const wchar_t c = kKeys[static_cast<std::size_t>(i) % (std::size(kKeys) - 1)];
    const WPARAM key = c == L' ' ? VK_SPACE : static_cast<WPARAM>(towupper(c));
    const double start = milliseconds();
    SendMessageW(edit, WM_KEYDOWN, key, 1);
    SendMessageW(edit, WM_CHAR, c, 1);
    SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
    UpdateWindow(edit);
    pump();
    return milliseconds() - start;
}

// Runs the loop for `duration` ms as the program's does between keys; the longest time one
// message kept it from taking the next key.
double longestDispatch(double duration) {
    double longest = 0;
    const double end = milliseconds() + duration;
    while (milliseconds() < end) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        const double start = milliseconds();
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        longest = std::max(longest, milliseconds() - start);
    }
    return longest;
}

} // namespace

int recoveryBenchmark(const std::wstring& document, const std::wstring& folder, int rounds,
                      int keys) {
    startEditor();
    app::MainWindow& editor = *app::FMain;
    HWND edit = editor.editField->handle();
    if (!openWithCaretInTheMiddle(document))
        return 1;

    app::Recovery recovery(*editor.mainWindow, editor.document, folder);
    std::vector<double> withCopy, without, taking, textOnly;
    int typed = 0;
    for (int round = 0; round <= rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool copies = (turn == 0) == (round % 2 == 0);
            editor.document.recovery = copies ? &recovery : nullptr;
            // Keys, then a pause long enough for the copy to be taken, then keys while the
            // writer writes it: the longest time the loop was not free for the next key.
            double phases[3] = {0, 0, 0};
            for (int i = 0; i < keys; ++i)
                phases[0] = std::max(phases[0], typeKey(edit, typed++));
            phases[1] = longestDispatch(2600);
            for (int i = 0; i < keys; ++i)
                phases[2] = std::max(phases[2], typeKey(edit, typed++));
            recovery.waitForWriter();
            longestDispatch(300);
            const double longest = *std::max_element(std::begin(phases), std::end(phases));
            if (round > 0)
                (copies ? withCopy : without).push_back(longest);
            std::fprintf(stderr,
                         "recovery round %d, copy %s: longest key before %.1f ms, message in "
                         "the pause %.1f ms, key after %.1f ms\n",
                         round, copies ? "on " : "off", phases[0], phases[1], phases[2]);
        }
        // The copy's own work on the GUI thread, against fetching the text alone.
        editor.document.recovery = &recovery;
        double start = milliseconds();
        recovery.takeCopy();
        const double took = milliseconds() - start;
        recovery.waitForWriter();
        // The least any copy taken on this thread does: a buffer, and the text fetched into it.
        start = milliseconds();
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
        const double fetch = milliseconds() - start;
        if (round > 0) {
            taking.push_back(took);
            textOnly.push_back(fetch);
        }
    }
    editor.document.recovery = nullptr;
    recovery.end();
    // Each round's longest pause; the median of the rounds, as the other figures.
    printRow("Longest key pause, recovery copy, 2 MB (ms)", withCopy, without, "ms", "ratio:1.10");
    printRow("Recovery copy taken on GUI thread, 2 MB (ms)", taking, textOnly, "ms", "ratio:1.10");
    std::fprintf(stderr,
                 "recovery: longest of all rounds %.1f ms on, %.1f ms off; copy taken in "
                 "at most %.1f ms\n",
                 *std::max_element(withCopy.begin(), withCopy.end()),
                 *std::max_element(without.begin(), without.end()),
                 *std::max_element(taking.begin(), taking.end()));
    return 0;
}

} // namespace bench
