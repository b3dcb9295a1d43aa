// Typing into the middle of a document in the editor's own edit field, with the keyboard
// map on (as the program wires it) and off (its key handlers taken away), and into bare fields
// of its make-up holding the same document, with the platform's default word-break rule and
// with the layer's; rounds interleaved.

#include "bench/bench_common.h"
#include "bench/editor_bench.h"

#include "app/Unit1.h"
#include "controls/edit.h"
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

// Where the keys go, each round: the middle of the text, focused and in view.
void caretToTheMiddle(HWND edit) {
    const auto length = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, length / 2, length / 2);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SetFocus(edit);
    pump();
}

std::vector<double> perEdit(const std::vector<double>& times, int edits) {
    std::vector<double> each;
    for (const double t : times)
        each.push_back(t / edits);
    return each;
}

} // namespace

int typingBenchmark(const std::wstring& document, int rounds, int keys) {
    startEditor();
    app::MainWindow& editor = *app::FMain;
    ctl::Control& field = *editor.editField;
    HWND edit = field.handle();
    const ctl::ControlEvents mapped = field.events();
    if (!openWithCaretInTheMiddle(document))
        return 1;
    // Bare fields of the same make-up holding the same text: the platform's default word-break
    // rule, and the layer's procedure of words delimited by spaces.
    const BareEdit platform = newBareEdit(edit);
    const BareEdit spaces = newBareEdit(edit);
    SendMessageW(spaces.edit, EM_SETWORDBREAKPROC, 0,
                 reinterpret_cast<LPARAM>(ctl::spaceDelimitedWordBreaks()));
    if (!bareOpen(platform.edit, document) || !bareOpen(spaces.edit, document)) {
        std::fprintf(stderr, "editor_bench: the bare fields did not take the document\n");
        return 1;
    }

    enum Subject { MapOn, MapOff, Platform, Spaces, kSubjects };
    const char* const names[kSubjects] = {"map on ", "map off", "bare, default rule",
                                          "bare, own rule"};
    const HWND fields[kSubjects] = {edit, edit, platform.edit, spaces.edit};
    std::vector<double> times[kSubjects];
    int onEdits = keys;
    for (int round = 0; round <= rounds; ++round) {
        // Each round starts with another subject, so a disturbance falls on all alike.
        for (int turn = 0; turn < kSubjects; ++turn) {
            const auto who = static_cast<Subject>((turn + round) % kSubjects);
            const bool map = who == MapOn;
            field.setOnChar(map ? mapped.onChar : decltype(mapped.onChar){});
            field.setOnKeyUp(map ? mapped.onKeyUp : decltype(mapped.onKeyUp){});
            editor.previousKey = 0;
            caretToTheMiddle(fields[who]);
            paintNow(GetAncestor(fields[who], GA_ROOT));
            const int before = GetWindowTextLengthW(fields[who]);
            const double start = milliseconds();
            typeKeys(fields[who], keys);
            const double took = milliseconds() - start;
            // A combination is a Backspace and a character: a key that added nothing.
            const int combinations = keys - (GetWindowTextLengthW(fields[who]) - before);
            if (map)
                onEdits = keys + combinations;
            // Round 0 warms the glyph caches; it is not counted.
            if (round > 0)
                times[who].push_back(took);
            std::fprintf(stderr, "typing round %d, %s: %.1f ms, %d code units\n", round, names[who],
                         took, GetWindowTextLengthW(fields[who]));
        }
    }
    field.setOnChar(mapped.onChar);
    field.setOnKeyUp(mapped.onKeyUp);
    const std::string size = sizeName(document);
    const std::string figure = "Typing " + std::to_string(keys) + " keys, " + size + " (ms)";
    printRow(figure.c_str(), times[MapOn], times[MapOff], "ms", "ratio:1.10");
    std::fprintf(stderr, "typing: %d keys made %d edits of the field with the map on\n", keys,
                 onEdits);
    // The map's combinations make the field do more: the same figures per change of the text.
    const std::vector<double> onPerEdit = perEdit(times[MapOn], onEdits);
    const std::string perEditRow = "Typing per edit of the field, " + size + " (ms)";
    printRow(perEditRow.c_str(), onPerEdit, perEdit(times[MapOff], keys), "ms", "ratio:1.10");
    // Against the platform's own field holding the document: what the editor's rule saves.
    const bool large = size.ends_with(" MB");
    const std::string bareRow = "Typing per edit vs bare field, " + size + " (ms)";
    printRow(bareRow.c_str(), onPerEdit, perEdit(times[Platform], keys), "ms",
             large ? "ratio:0.40" : "none:0");
    const std::string ruleRow = "Bare field per key, own rule, " + size + " (ms)";
    printRow(ruleRow.c_str(), perEdit(times[Spaces], keys), perEdit(times[Platform], keys), "ms",
             "none:0");
    return 0;
}

} // namespace bench
