// Typing into the middle of a document in the editor's own edit field, with the keyboard
// map on (as the program wires it) and off (its key handlers taken away), rounds interleaved.

#include "bench/bench_common.h"
#include "bench/editor_bench.h"

#include "app/Unit1.h"
#include "controls/form.h"

#include <cwchar>
#include <string>
#include <vector>

namespace bench {

namespace {

// Combinations follow letters: Wine's drawing of this field faults on combining marks typed
// after a space.
constexpr wchar_t kSentence[] = L"salam 3lykm ktbeee ktbuu ktbii a~mn bsm allh ";

// Key presses as a keyboard sends them to the focused edit field: key down, character, key up,
// each drawn before the next, as the user sees it.
void typeKeys(HWND edit, int count) {
    const std::size_t length = std::wcslen(kSentence);
    for (int i = 0; i < count; ++i) {
        const wchar_t c = kSentence[static_cast<std::size_t>(i) % length];
        const WPARAM key = c == L' ' ? VK_SPACE : static_cast<WPARAM>(towupper(c));
        SendMessageW(edit, WM_KEYDOWN, key, 1);
        SendMessageW(edit, WM_CHAR, c, 1);
        SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
        UpdateWindow(edit);
    }
}

// "256 KB", "2 MB": the document's size as the figures name it.
std::string sizeName(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return "?";
    const DWORD bytes = data.nFileSizeLow;
    return bytes >= 1048576 ? std::to_string(bytes / 1048576) + " MB"
                            : std::to_string(bytes / 1024) + " KB";
}

} // namespace

int typingBenchmark(const std::wstring& document, int rounds, int keys) {
    startEditor();
    app::MainWindow& editor = *app::FMain;
    ctl::Control& field = *editor.editField;
    HWND edit = field.handle();
    const ctl::ControlEvents mapped = field.events();

    std::vector<double> on;
    std::vector<double> off;
    int combinations = 0;
    int onEdits = keys;
    for (int round = 0; round <= rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool map = (turn == 0) == (round % 2 == 0);
            field.setOnChar(map ? mapped.onChar : decltype(mapped.onChar){});
            field.setOnKeyUp(map ? mapped.onKeyUp : decltype(mapped.onKeyUp){});
            editor.previousKey = 0;
            if (!openWithCaretInTheMiddle(document))
                return 1;
            paintNow(editor.mainWindow->handle());
            const int before = GetWindowTextLengthW(edit);
            const double start = milliseconds();
            typeKeys(edit, keys);
            const double took = milliseconds() - start;
            // A combination is a Backspace and a character: a key that added nothing.
            combinations = keys - (GetWindowTextLengthW(edit) - before);
            // Round 0 warms the glyph caches; it is not counted.
            if (round > 0)
                (map ? on : off).push_back(took);
            if (round > 0 && map)
                onEdits = keys + combinations;
            std::fprintf(stderr, "typing round %d, map %s: %.1f ms, %d code units\n", round,
                         map ? "on " : "off", took, GetWindowTextLengthW(edit));
        }
    }
    const std::string size = sizeName(document);
    const std::string figure = "Typing " + std::to_string(keys) + " keys, " + size + " (ms)";
    printRow(figure.c_str(), on, off, "ms", "ratio:1.10");
    std::fprintf(stderr, "typing: %d keys made %d edits of the field with the map on\n", keys,
                 onEdits);
    // The map's combinations make the field do more: the same figures per change of the text.
    std::vector<double> onPerEdit, offPerEdit;
    for (const double t : on)
        onPerEdit.push_back(t / onEdits);
    for (const double t : off)
        offPerEdit.push_back(t / keys);
    const std::string perEdit = "Typing per edit of the field, " + size + " (ms)";
    printRow(perEdit.c_str(), onPerEdit, offPerEdit, "ms", "ratio:1.10");
    return 0;
}

} // namespace bench
