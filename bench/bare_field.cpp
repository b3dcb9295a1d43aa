// What the platform's edit field costs by itself: a bare field made with platform calls alone,
// laying out text of long lines (one WM_SETTEXT, or the same text appended in parts), with the
// platform's default word-break rule or with the layer's procedure of words delimited by spaces.
//   bare_field.exe lines <face> <height> <width> <rtl 0|1> <default|spaces> <units> <line units>
//                  [<part units>]
//   bare_field.exe slices <face> <height> <default|spaces> <units> <slice units> <rounds>
//   bare_field.exe typing <face> <height> <default|spaces> <units> <line units> <keys>
// prints LINES|face|height|width|rtl|rule|units|line units|part units|total ms|longest ms|lines|
// lines that start elsewhere than after one WM_SETTEXT of the same text (in parts only)|the face
// the platform gave for the one asked for. The second puts a document of short lines into the
// focused field as a progressive Open does (a first part at once, then slices appended at the
// end, the selection and the first line in view put back and the field painted after each
// slice; and the same with drawing off during each slice as Windows' field has it for
// WM_SETREDRAW), rounds interleaved with one WM_SETTEXT of the same text, and prints
// SLICES|face|height|rule|units|slice units|rounds|WM_SETTEXT ms|sliced ms|longest slice ms|
// sliced with drawing off ms|its longest slice ms|ratios of the two to WM_SETTEXT.
// The third types keys into the middle of a text of lines of a given length and prints
// TYPING|face|height|rule|units|line units|keys|mean ms a key|longest ms

#include "bench/bench_common.h"

#include "controls/edit.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kClass[] = L"DawatikBenchBareField";

struct Field {
    HWND window = nullptr;
    HWND edit = nullptr;
};

struct Make {
    std::wstring face;
    int height = 22;
    int width = 540;
    bool rtl = true;
    bool spaces = false;
};

// Wrapping, scrolling down, no limit: the editor's document field, in a window of its own.
Field newField(const Make& make) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    Field field;
    field.window =
        CreateWindowExW(0, kClass, L"Bare field", WS_OVERLAPPEDWINDOW, 20, 20, make.width + 40, 400,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_AUTOVSCROLL | ES_MULTILINE |
                        (make.rtl ? ES_RIGHT : 0);
    field.edit =
        CreateWindowExW(make.rtl ? WS_EX_RTLREADING | WS_EX_RIGHT : 0, L"EDIT", L"", style, 0, 0,
                        make.width, 340, field.window, nullptr, GetModuleHandleW(nullptr), nullptr);
    LOGFONTW font{};
    font.lfHeight = make.height;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, make.face.c_str(), LF_FACESIZE);
    SendMessageW(field.edit, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectW(&font)),
                 TRUE);
    SendMessageW(field.edit, EM_SETLIMITTEXT, 0, 0);
    if (make.spaces)
        SendMessageW(field.edit, EM_SETWORDBREAKPROC, 0,
                     reinterpret_cast<LPARAM>(ctl::spaceDelimitedWordBreaks()));
    ShowWindow(field.window, SW_SHOWNORMAL);
    UpdateWindow(field.window);
    bench::pump();
    return field;
}

struct Layout {
    double total = 0;
    double longest = 0;
};

// The text set at once, or appended in parts of about `part` units that end after a space.
Layout lay(HWND edit, const std::wstring& text, std::size_t part) {
    Layout layout;
    const double start = bench::milliseconds();
    if (part == 0) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        layout.longest = bench::milliseconds() - start;
    } else {
        for (std::size_t from = 0; from < text.size();) {
            std::size_t end = std::min(text.size(), from + part);
            const std::size_t space = text.find(L' ', end);
            end = space == std::wstring::npos ? text.size() : space + 1;
            const std::wstring piece = text.substr(from, end - from);
            const double began = bench::milliseconds();
            const auto length = static_cast<WPARAM>(GetWindowTextLengthW(edit));
            SendMessageW(edit, EM_SETSEL, length, length);
            SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
            layout.longest = std::max(layout.longest, bench::milliseconds() - began);
            from = end;
        }
    }
    RedrawWindow(GetParent(edit), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    layout.total = bench::milliseconds() - start;
    return layout;
}

std::vector<LRESULT> lineStarts(HWND edit) {
    std::vector<LRESULT> starts;
    const LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    for (LRESULT line = 0; line < lines; ++line)
        starts.push_back(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    return starts;
}

// How many lines start elsewhere in `edit` than in a field given the same text at once.
long long linesUnlikeOneSetting(HWND edit, const Make& make, const std::wstring& text) {
    const Field once = newField(make);
    lay(once.edit, text, 0);
    const std::vector<LRESULT> mine = lineStarts(edit);
    const std::vector<LRESULT> theirs = lineStarts(once.edit);
    long long unlike = 0;
    for (std::size_t line = 0; line < std::max(mine.size(), theirs.size()); ++line)
        unlike += line >= mine.size() || line >= theirs.size() || mine[line] != theirs[line];
    DestroyWindow(once.window);
    return unlike;
}

// The face the platform chose for the field's font: another when the one asked for is missing.
std::wstring faceOf(HWND edit) {
    HDC dc = GetDC(edit);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return face;
}

int linesBenchmark(int argc, wchar_t** argv) {
    Make make;
    make.face = argv[0];
    make.height = _wtoi(argv[1]);
    make.width = _wtoi(argv[2]);
    make.rtl = _wtoi(argv[3]) != 0;
    make.spaces = std::wcscmp(argv[4], L"spaces") == 0;
    const auto units = static_cast<std::size_t>(_wtoi(argv[5]));
    const auto lineUnits = static_cast<std::size_t>(_wtoi(argv[6]));
    const auto part = argc > 7 ? static_cast<std::size_t>(_wtoi(argv[7])) : 0;
    const Field field = newField(make);
    const std::wstring text = bench::arabicText(units, lineUnits);
    const Layout layout = lay(field.edit, text, part);
    if (static_cast<std::size_t>(GetWindowTextLengthW(field.edit)) != text.size()) {
        std::fprintf(stderr, "bare_field: the field did not take the whole text\n");
        return 1;
    }
    const long long unlike = part ? linesUnlikeOneSetting(field.edit, make, text) : 0;
    std::printf("LINES|%ls|%d|%d|%d|%ls|%zu|%zu|%zu|%.1f|%.1f|%lld|%lld|%ls\n", make.face.c_str(),
                make.height, make.width, make.rtl ? 1 : 0, make.spaces ? L"spaces" : L"default",
                units, lineUnits, part, layout.total, layout.longest,
                static_cast<long long>(SendMessageW(field.edit, EM_GETLINECOUNT, 0, 0)), unlike,
                faceOf(field.edit).c_str());
    return 0;
}

// Slices appended as a progressive Open puts them, the selection and the first line in view
// put back and the field painted after each. With `hidden`, drawing is off during each slice as
// Windows' field turns it off for WM_SETREDRAW (the default window procedure clears the window's
// WS_VISIBLE): Wine's field takes the message without passing it on.
void appendSlice(HWND edit, const std::wstring& slice, bool hidden) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    if (hidden)
        DefWindowProcW(edit, WM_SETREDRAW, FALSE, 0);
    const auto length = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, length, length);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(slice.c_str()));
    SendMessageW(edit, EM_SETSEL, start, end);
    const LRESULT nowFirst = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (nowFirst != firstLine)
        SendMessageW(edit, EM_LINESCROLL, 0, firstLine - nowFirst);
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    if (hidden)
        DefWindowProcW(edit, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    RedrawWindow(GetParent(edit), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The document put in as a progressive Open does: a first part at once, then slices appended.
// The total time, and the longest slice.
Layout putInSlices(const Make& make, const std::wstring& text, std::size_t sliceUnits,
                   bool hidden) {
    const Field field = newField(make);
    SetFocus(field.edit);
    Layout layout;
    const double start = bench::milliseconds();
    const std::size_t first = std::min<std::size_t>(8192, text.size());
    SendMessageW(field.edit, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.substr(0, first).c_str()));
    UpdateWindow(field.window);
    for (std::size_t from = first; from < text.size(); from += sliceUnits) {
        const double began = bench::milliseconds();
        appendSlice(field.edit, text.substr(from, sliceUnits), hidden);
        layout.longest = std::max(layout.longest, bench::milliseconds() - began);
    }
    layout.total = bench::milliseconds() - start;
    const bool whole = static_cast<std::size_t>(GetWindowTextLengthW(field.edit)) == text.size();
    DestroyWindow(field.window);
    if (!whole)
        layout.total = -1;
    return layout;
}

// A field of the editor's width and reading order, of the face, height and rule given first.
Make faceHeightAndRule(wchar_t** argv) {
    Make make;
    make.face = argv[0];
    make.height = _wtoi(argv[1]);
    make.spaces = std::wcscmp(argv[2], L"spaces") == 0;
    return make;
}

int slicesBenchmark(wchar_t** argv) {
    const Make make = faceHeightAndRule(argv);
    const auto units = static_cast<std::size_t>(_wtoi(argv[3]));
    const auto sliceUnits = static_cast<std::size_t>(_wtoi(argv[4]));
    const int rounds = std::max(_wtoi(argv[5]), 1);
    const std::wstring text = bench::arabicText(units);
    // Rounds interleave the three ways, each round starting with another.
    std::vector<double> once, shown, hidden, shownLongest, hiddenLongest;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 3; ++turn) {
            const int way = (turn + round) % 3;
            if (way == 0) {
                const Field field = newField(make);
                once.push_back(lay(field.edit, text, 0).total);
                DestroyWindow(field.window);
                continue;
            }
            const Layout layout = putInSlices(make, text, sliceUnits, way == 2);
            if (layout.total < 0) {
                std::fprintf(stderr, "bare_field: the field did not take the whole text\n");
                return 1;
            }
            (way == 1 ? shown : hidden).push_back(layout.total);
            (way == 1 ? shownLongest : hiddenLongest).push_back(layout.longest);
        }
    }
    std::printf("SLICES|%ls|%d|%ls|%zu|%zu|%d|%.1f|%.1f|%.1f|%.1f|%.1f|%.3f|%.3f\n",
                make.face.c_str(), make.height, make.spaces ? L"spaces" : L"default", units,
                sliceUnits, rounds, bench::median(once), bench::median(shown),
                bench::median(shownLongest), bench::median(hidden), bench::median(hiddenLongest),
                bench::pairedRatio(shown, once), bench::pairedRatio(hidden, once));
    return 0;
}

// Keys typed into the middle of a text of lines of `line units`: the mean and the longest time a
// key takes to be inserted and drawn.
int typingBenchmark(wchar_t** argv) {
    const Make make = faceHeightAndRule(argv);
    const auto units = static_cast<std::size_t>(_wtoi(argv[3]));
    const auto lineUnits = static_cast<std::size_t>(_wtoi(argv[4]));
    const int keys = std::max(_wtoi(argv[5]), 1);
    const Field field = newField(make);
    const std::wstring text = bench::arabicText(units, lineUnits);
    lay(field.edit, text, 0);
    SetFocus(field.edit);
    const auto middle = static_cast<WPARAM>(text.size() / 2);
    SendMessageW(field.edit, EM_SETSEL, middle, middle);
    std::vector<double> took;
    for (int key = 0; key < keys; ++key) {
        const double start = bench::milliseconds();
        SendMessageW(field.edit, WM_CHAR, key % 8 == 7 ? L' ' : L'\x0628', 1);
        UpdateWindow(field.window);
        took.push_back(bench::milliseconds() - start);
    }
    double sum = 0;
    for (const double t : took)
        sum += t;
    std::printf("TYPING|%ls|%d|%ls|%zu|%zu|%d|%.1f|%.1f\n", make.face.c_str(), make.height,
                make.spaces ? L"spaces" : L"default", units, lineUnits, keys, sum / keys,
                *std::max_element(took.begin(), took.end()));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 8 && std::wcscmp(argv[1], L"typing") == 0)
        return typingBenchmark(argv + 2);
    if (argc >= 9 && std::wcscmp(argv[1], L"lines") == 0)
        return linesBenchmark(argc - 2, argv + 2);
    if (argc >= 8 && std::wcscmp(argv[1], L"slices") == 0)
        return slicesBenchmark(argv + 2);
    std::fprintf(
        stderr, "usage: bare_field.exe lines <face> <height> <width> <rtl 0|1> "
                "<default|spaces> <units> <line units> [<part units>] | slices <face> "
                "<height> <default|spaces> <units> <slice units> <rounds> | typing <face> <height> "
                "<default|spaces> <units> <line units> <keys>\n");
    return 2;
}
