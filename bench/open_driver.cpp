// Open as a user gets it, timed from outside: each round starts a program (not timed), presses
// Ctrl+O, fills in the file name of its Open dialog and posts IDOK, then watches from that IDOK
//   - the first painted screen: the first screen capture of the document field's client area
//     with text in it (dark pixels well beyond the empty field's caret);
//   - the end: the field holds the whole text (WM_GETTEXTLENGTH) and, where the program has a
//     status bar, its first part reads a space and the file's path;
//   - the longest time the main window does not answer: WM_NULL sent back to back.
// The programs: the editor, its bound (bare_editor.exe: one ReadFile and one WM_SETTEXT) and
// Wine's notepad, rounds interleaved.
//   open_driver.exe <editor.exe> <bare_editor.exe> <edit model> (<document> <units> <rounds>)...

#include "bench/bench_common.h"
#include "bench/driving.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::ask;
using bench::milliseconds;

constexpr int kNameField = 0x47C;
// The longest an Open may take before the round fails: a 4 MB document whose Arabic comes from
// font fallback takes the platform's field a minute, and a slow Open more.
constexpr double kPatience = 600000;
// The editor's and its bound's window; notepad is given the same.
constexpr RECT kWindowBounds = {252, 183, 252 + 550, 183 + 380};

struct Subject {
    const char* name;
    std::wstring commandLine;
    std::wstring folder;
    // Notepad has no status bar to tell its end and no font-name box to tell it is ready.
    bool editorLike;
};

struct Timing {
    double paint = -1;
    double end = -1;
    double longest = 0;
};

int fail(const char* what, const char* who) {
    std::fprintf(stderr, "open_driver: %s: %s\n", who, what);
    return 1;
}

RECT clientOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Reads an area of the screen as it is shown, and counts its dark pixels: text is drawn dark on
// the light field.
class ScreenArea {
public:
    explicit ScreenArea(const RECT& area)
        : area_(area), width_(area.right - area.left), height_(area.bottom - area.top) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        screen_ = GetDC(nullptr);
        memory_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(memory_, bitmap_);
    }
    ScreenArea(const ScreenArea&) = delete;
    ScreenArea& operator=(const ScreenArea&) = delete;
    ~ScreenArea() {
        SelectObject(memory_, old_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
        ReleaseDC(nullptr, screen_);
    }
    bool valid() const { return bits_ != nullptr; }
    int area() const { return width_ * height_; }

    int darkPixels() {
        BitBlt(memory_, 0, 0, width_, height_, screen_, area_.left, area_.top, SRCCOPY);
        GdiFlush();
        const auto* pixel = static_cast<const std::uint8_t*>(bits_);
        int dark = 0;
        for (int i = 0; i < width_ * height_; ++i, pixel += 4)
            dark += pixel[0] + pixel[1] + pixel[2] < 3 * 128;
        return dark;
    }

private:
    RECT area_;
    int width_;
    int height_;
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

void pressCtrlO() {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'O', 'O', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(codes[i], MAPVK_VK_TO_VSC));
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
}

std::wstring windowText(HWND window) {
    wchar_t text[MAX_PATH + 16] = {};
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, MAX_PATH + 16, reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, 600000, &got))
        return {};
    return text;
}

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// Notepad's Open dialog has an encoding box, which reads the file byte by byte unless told
// otherwise: the documents are UTF-16 little-endian.
BOOL CALLBACK chooseUtf16(HWND window, LPARAM) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (_wcsicmp(name, L"ComboBox") != 0)
        return TRUE;
    const auto count = static_cast<int>(ask(window, CB_GETCOUNT));
    for (int item = 0; item < count; ++item) {
        wchar_t text[128] = {};
        if (SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0) >= 128)
            continue;
        SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(text));
        if (std::wcsstr(text, L"UTF-16") && !std::wcsstr(text, L"big")) {
            SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
            // As a user's choice: the dialog learns of it from the box's notification.
            const auto id = static_cast<WORD>(GetDlgCtrlID(window));
            SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(window));
            std::fprintf(stderr, "open_driver: encoding \"%ls\" chosen\n", text);
        }
    }
    return TRUE;
}

// Waits until the window answers and then a little more, so that start-up has finished drawing.
void letSettle(HWND window) {
    ask(window, WM_NULL, 30000);
    Sleep(300);
    ask(window, WM_NULL, 30000);
}

// One Open of `document` in a fresh process of `subject`.
int openOnce(const Subject& subject, const std::wstring& document, int units, Timing& timing) {
    bench::Program program(subject.commandLine, subject.folder);
    HWND top = program.waitUntil([&subject](HWND window) {
        if (!subject.editorLike)
            return bench::documentFieldOf(window) != nullptr;
        HWND box = bench::fontNameBoxOf(window);
        return box && ask(box, CB_GETCOUNT) > 0;
    });
    if (!top)
        return fail("did not come up", subject.name);
    if (!subject.editorLike)
        SetWindowPos(top, nullptr, kWindowBounds.left, kWindowBounds.top,
                     kWindowBounds.right - kWindowBounds.left,
                     kWindowBounds.bottom - kWindowBounds.top, SWP_NOZORDER);
    HWND field = bench::documentFieldOf(top);
    HWND status = subject.editorLike ? bench::childOf(top, L"msctls_statusbar32") : nullptr;
    if (!field || (subject.editorLike && !status))
        return fail("has no document field or status bar", subject.name);
    letSettle(top);

    SetForegroundWindow(top);
    pressCtrlO();
    HWND dialog = nullptr;
    HWND name = nullptr;
    for (const double asked = milliseconds(); milliseconds() - asked < 30000; Sleep(5)) {
        dialog = bench::visibleWindowOf(program.id(), L"#32770", L"Open");
        name = dialog ? GetDlgItem(dialog, kNameField) : nullptr;
        if (name)
            break;
    }
    if (!name)
        return fail("showed no Open dialog", subject.name);
    // The dialog goes to the screen's lower right corner, off the field whose pixels are read.
    const RECT area = clientOnScreen(field);
    RECT box{};
    GetWindowRect(dialog, &box);
    const int left = GetSystemMetrics(SM_CXSCREEN) - (box.right - box.left);
    const int topEdge = GetSystemMetrics(SM_CYSCREEN) - (box.bottom - box.top);
    SetWindowPos(dialog, nullptr, left, topEdge, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(dialog, &box);
    RECT overlap{};
    if (IntersectRect(&overlap, &box, &area))
        return fail("cannot move its Open dialog off the document field", subject.name);
    SetWindowTextW(name, document.c_str());
    EnumChildWindows(dialog, chooseUtf16, 0);
    letSettle(dialog);

    ScreenArea screen(area);
    if (!screen.valid())
        return fail("no screen capture", subject.name);
    // The empty field shows at most its caret; text is far more than that.
    const int threshold = screen.darkPixels() + std::max(200, screen.area() / 200);

    const std::wstring expectedStatus = L" " + document;
    std::atomic<bool> started{false};
    std::atomic<bool> done{false};
    double start = 0;
    std::atomic<double> end{-1};
    double longest = 0;
    std::thread watcher([&] {
        while (!started)
            Sleep(0);
        while (end < 0 && milliseconds() - start < kPatience) {
            const bool whole = ask(field, WM_GETTEXTLENGTH, 600000) == units;
            if (whole &&
                (!status || _wcsicmp(windowText(status).c_str(), expectedStatus.c_str()) == 0))
                end = milliseconds() - start;
            else
                Sleep(1);
        }
    });
    std::thread pinger([&] {
        while (!started)
            Sleep(0);
        while (!done) {
            const double sent = milliseconds();
            ask(top, WM_NULL, 600000);
            longest = std::max(longest, milliseconds() - sent);
        }
    });
    start = milliseconds();
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    started = true;
    double paint = -1;
    while (milliseconds() - start < kPatience) {
        if (paint < 0 && screen.darkPixels() > threshold)
            paint = milliseconds() - start;
        if (paint >= 0 && end >= 0)
            break;
        Sleep(1);
    }
    done = true;
    watcher.join();
    pinger.join();
    if (paint < 0 || end < 0) {
        std::fprintf(stderr,
                     "open_driver: %s: %lld of %d code units, status \"%s\", %d dark "
                     "pixels (threshold %d)\n",
                     subject.name, static_cast<long long>(ask(field, WM_GETTEXTLENGTH)), units,
                     narrow(status ? windowText(status) : L"-").c_str(), screen.darkPixels(),
                     threshold);
        return fail("did not show the whole document", subject.name);
    }
    timing = {paint, end.load(), longest};
    return 0;
}

// "256 KB", "2 MB", "64 KB long lines": the document as the figures name it.
std::string documentName(const std::wstring& path) {
    const std::wstring text = bench::readDocumentFile(path);
    const std::size_t bytes = text.size() * 2;
    std::size_t longest = 0;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = std::min(text.find(L'\n', from), text.size());
        longest = std::max(longest, end - from);
        from = end + 1;
    }
    return (bytes >= 1048576 ? std::to_string(bytes / 1048576) + " MB"
                             : std::to_string(bytes / 1024) + " KB") +
           (longest > 1000 ? " long lines" : "");
}

// The style of notepad's field says whether it wraps: no horizontal scrolling when it does.
void reportNotepadField(const Subject& notepad) {
    bench::Program program(notepad.commandLine, notepad.folder);
    HWND top = program.waitUntil([](HWND window) { return bench::documentFieldOf(window); });
    HWND field = top ? bench::documentFieldOf(top) : nullptr;
    if (field)
        std::printf("NOTEPAD_STYLE|%08lx\n",
                    static_cast<unsigned long>(GetWindowLongW(field, GWL_STYLE)));
}

int run(const Subject (&subjects)[3], int argc, wchar_t** argv) {
    reportNotepadField(subjects[2]);
    for (int i = 0; i + 2 < argc; i += 3) {
        const std::wstring document = argv[i];
        const int units = _wtoi(argv[i + 1]);
        const int rounds = _wtoi(argv[i + 2]);
        std::vector<double> paint[3], end[3], longest[3];
        // The first document's round 0 warms the programs, the file cache and the fonts.
        for (int round = i == 0 ? 0 : 1; round <= rounds; ++round) {
            for (int turn = 0; turn < 3; ++turn) {
                const int which = (turn + round) % 3;
                Timing timing;
                if (openOnce(subjects[which], document, units, timing))
                    return 1;
                std::fprintf(stderr,
                             "open %s round %d, %s: paint %.1f, end %.1f, longest %.1f ms\n",
                             narrow(document).c_str(), round, subjects[which].name, timing.paint,
                             timing.end, timing.longest);
                if (round == 0)
                    continue;
                paint[which].push_back(timing.paint);
                end[which].push_back(timing.end);
                longest[which].push_back(timing.longest);
            }
        }
        const std::string size = documentName(document);
        const std::string endRow = "Open " + size + ", to the end (ms)";
        const std::string paintRow = "Open " + size + ", to first paint (ms)";
        const std::string answerRow = "Open " + size + ", longest unanswered (ms)";
        const std::string notepadRow = "Open " + size + ", notepad wrapped, end (ms)";
        bench::printRow(endRow.c_str(), end[0], end[1], "ms", "ratio:1.15");
        bench::printRow(paintRow.c_str(), paint[0], paint[1], "ms", "atmost:100");
        bench::printRow(answerRow.c_str(), longest[0], longest[1], "ms", "under:150");
        bench::printRow(notepadRow.c_str(), end[0], end[2], "ms", "none:0");
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 7 || (argc - 4) % 3 != 0) {
        std::fprintf(stderr, "usage: open_driver.exe <editor.exe> <bare_editor.exe> <edit model> "
                             "(<document> <code units> <rounds>)...\n");
        return 2;
    }
    const std::wstring editor = argv[1];
    const std::wstring bare = argv[2];
    auto folderOf = [](const std::wstring& path) {
        return path.substr(0, path.find_last_of(L"\\/"));
    };
    const Subject subjects[3] = {
        {"the editor", L"\"" + editor + L"\"", folderOf(editor), true},
        {"the bound", L"\"" + bare + L"\" \"" + argv[3] + L"\"", folderOf(bare), true},
        {"notepad", L"notepad.exe", L"", false},
    };
    return run(subjects, argc - 4, argv + 4);
}
