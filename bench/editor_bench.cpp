// Open, save and memory figures of the editor, each against the same work done with bare
// platform calls in the same process and the same kind of edit field.
//   editor_bench.exe documents <folder>                 writes doc256k, doc2m, doc4m.txt and
//                                                       docpara.txt (64 KB of long paragraphs)
//   editor_bench.exe files <folder> <rounds>            Open and Save rows
//   editor_bench.exe typing <document> <rounds> <keys>  typing rows
//   editor_bench.exe memory editor|bare <document|-> <edit model file>
//                                                       one process's peak working set, in KB

#include "bench/bench_common.h"
#include "bench/edit_model.h"
#include "bench/editor_bench.h"

#include "app/Unit1.h"
#include "controls/form.h"

#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr wchar_t kBareClass[] = L"DawatikBenchBare";

EditModel modelOf(HWND edit) {
    EditModel m;
    m.style = static_cast<DWORD>(GetWindowLongW(edit, GWL_STYLE));
    m.exStyle = static_cast<DWORD>(GetWindowLongW(edit, GWL_EXSTYLE));
    RECT r{};
    GetWindowRect(edit, &r);
    m.width = r.right - r.left;
    m.height = r.bottom - r.top;
    m.limit = static_cast<DWORD>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    auto font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
    GetObjectW(font, sizeof m.font, &m.font);
    return m;
}

BareEdit newBareEdit(const EditModel& m) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kBareClass;
    RegisterClassW(&wc);
    BareEdit bare;
    bare.window =
        CreateWindowExW(0, kBareClass, L"Bound", WS_OVERLAPPEDWINDOW, 620, 100, m.width + 40,
                        m.height + 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    bare.edit =
        CreateWindowExW(m.exStyle, L"EDIT", L"", m.style | WS_CHILD | WS_VISIBLE, 0, 0, m.width,
                        m.height, bare.window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bare.edit, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectW(&m.font)),
                 TRUE);
    SendMessageW(bare.edit, EM_SETLIMITTEXT, m.limit, 0);
    ShowWindow(bare.window, SW_SHOWNORMAL);
    UpdateWindow(bare.window);
    pump();
    return bare;
}

// ---- the bounds: the same file work with nothing but platform calls

// The edit field's text behind the byte-order mark, written to `path` in one call; with
// `flush`, flushed to the disk before the file is closed.
bool writeFieldText(HWND edit, const std::wstring& path, bool flush) {
    const int length = GetWindowTextLengthW(edit);
    std::wstring image(static_cast<std::size_t>(length) + 2, L'\0');
    image[0] = L'\xFEFF';
    const int got = GetWindowTextW(edit, image.data() + 1, length + 1);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(got + 1) * 2;
    const BOOL ok = WriteFile(file, image.data(), bytes, &written, nullptr) &&
                    (!flush || FlushFileBuffers(file));
    CloseHandle(file);
    return ok && written == bytes;
}

// The edit field's text behind the byte-order mark, written over the file.
bool bareSave(HWND edit, const std::wstring& path) {
    return writeFieldText(edit, path, false);
}

// As bareSave, through a temporary file that is flushed and renamed over the target.
bool bareSafeSave(HWND edit, const std::wstring& path) {
    const std::wstring temporary = path + L".tmp";
    return writeFieldText(edit, temporary, true) &&
           MoveFileExW(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

std::uint64_t fileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void clear(HWND edit, HWND top) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    paintNow(top);
}

int fail(const char* what) {
    std::fprintf(stderr, "editor_bench: %s\n", what);
    return 1;
}

// A large document arrives in slices from the message loop: pump until its last slice is in.
void waitUntilLoaded(const app::Document& document) {
    while (document.loading())
        pump();
}

struct SizeCase {
    const char* name;
    std::wstring file;
    std::size_t bytes;
};

int filesBenchmark(const std::wstring& folder, int rounds) {
    startEditor();
    app::MainWindow& editor = *app::FMain;
    HWND editorEdit = editor.editField->handle();
    HWND editorTop = editor.mainWindow->handle();
    const EditModel model = modelOf(editorEdit);
    if (!saveModel(folder + L"\\edit-model.bin", model))
        return fail("cannot write the edit model");
    const BareEdit bare = newBareEdit(model);

    const SizeCase cases[] = {{"256 KB", folder + L"\\doc256k.txt", 262144},
                              {"2 MB", folder + L"\\doc2m.txt", 2097152}};
    for (const SizeCase& c : cases) {
        std::vector<double> openEditor, openBare, saveEditor, saveBare, saveSafe;
        const std::wstring outEditor = folder + L"\\saved-editor.txt";
        const std::wstring outBare = folder + L"\\saved-bare.txt";
        const std::wstring outSafe = folder + L"\\saved-safe.txt";
        const auto expected = static_cast<int>(c.bytes / 2 - 1);
        // The small document is quick to lay out and its figures vary more: it gets more rounds.
        const int caseRounds = c.bytes < 1048576 ? rounds * 3 : rounds;
        // Round 0 warms the file cache and the fonts' glyph caches; it is not counted.
        for (int round = 0; round <= caseRounds; ++round) {
            // Alternate which goes first, so a disturbance hits both alike.
            for (int turn = 0; turn < 2; ++turn) {
                const bool editorTurn = (turn == 0) == (round % 2 == 0);
                if (editorTurn) {
                    clear(editorEdit, editorTop);
                    const double start = milliseconds();
                    const bool ok = openDocument(editor.document, c.file);
                    paintNow(editorTop);
                    const double took = milliseconds() - start;
                    if (!ok || GetWindowTextLengthW(editorEdit) != expected)
                        return fail("the editor did not open the document whole");
                    if (round > 0)
                        openEditor.push_back(took);
                } else {
                    clear(bare.edit, bare.window);
                    const double start = milliseconds();
                    const bool ok = bareOpen(bare.edit, c.file);
                    paintNow(bare.window);
                    const double took = milliseconds() - start;
                    if (!ok || GetWindowTextLengthW(bare.edit) != expected)
                        return fail("the bound did not open the document whole");
                    if (round > 0)
                        openBare.push_back(took);
                }
            }
            // Both fields now hold the document: save it, in alternating order.
            for (int turn = 0; turn < 3; ++turn) {
                const int which = (turn + round) % 3;
                const double start = milliseconds();
                bool ok = false;
                if (which == 0)
                    ok = editor.document.write(outEditor);
                else if (which == 1)
                    ok = bareSave(bare.edit, outBare);
                else
                    ok = bareSafeSave(bare.edit, outSafe);
                const double took = milliseconds() - start;
                if (!ok)
                    return fail("a save failed");
                if (round > 0)
                    (which == 0 ? saveEditor : which == 1 ? saveBare : saveSafe).push_back(took);
            }
            if (fileSize(outEditor) != c.bytes || fileSize(outBare) != c.bytes ||
                fileSize(outSafe) != c.bytes)
                return fail("a saved file does not have the document's size");
        }
        const std::string open = std::string("Open ") + c.name + " (ms)";
        const std::string save = std::string("Save ") + c.name + " (ms)";
        const std::string safe = std::string("Save ") + c.name + " vs bound+flush+rename (ms)";
        printRow(open.c_str(), openEditor, openBare, "ms", "ratio:1.10");
        printRow(save.c_str(), saveEditor, saveBare, "ms", "ratio:1.10");
        printRow(safe.c_str(), saveEditor, saveSafe, "ms", "ratio:1.10");
    }
    return 0;
}

// One fresh process: the empty program, then (with a document) the document opened. Prints the
// peak working set in KB.
int memoryBenchmark(const std::wstring& which, const std::wstring& document,
                    const std::wstring& modelFile) {
    HWND edit = nullptr;
    HWND top = nullptr;
    if (which == L"editor") {
        startEditor();
        edit = app::FMain->editField->handle();
        top = app::FMain->mainWindow->handle();
    } else {
        EditModel model;
        if (!loadModel(modelFile, model))
            return fail("no edit model: run the files benchmark first");
        const BareEdit bare = newBareEdit(model);
        edit = bare.edit;
        top = bare.window;
    }
    if (document != L"-") {
        const bool ok = which == L"editor" ? openDocument(app::FMain->document, document)
                                           : bareOpen(edit, document);
        if (!ok)
            return fail("the document did not open");
        paintNow(top);
        pump();
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return fail("no memory counters");
    std::printf("PEAK|%zu\n", counters.PeakWorkingSetSize / 1024);
    return 0;
}

} // namespace

bool openDocument(app::Document& document, const std::wstring& path) {
    const bool opened = document.open(path);
    waitUntilLoaded(document);
    return opened;
}

void startEditor() {
    app::createMainWindow(app::FMain);
    ctl::showForm(*app::FMain->mainWindow);
    pump();
    paintNow(app::FMain->mainWindow->handle());
}

bool openWithCaretInTheMiddle(const std::wstring& document) {
    app::MainWindow& editor = *app::FMain;
    HWND edit = editor.editField->handle();
    if (!openDocument(editor.document, document)) {
        std::fprintf(stderr, "editor_bench: the document did not open\n");
        return false;
    }
    const auto length = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, length / 2, length / 2);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SetFocus(edit);
    pump();
    return true;
}

BareEdit newBareEdit(HWND model) {
    return newBareEdit(modelOf(model));
}

bool bareOpen(HWND edit, const std::wstring& path) {
    const std::wstring text = readDocumentFile(path);
    return !text.empty() &&
           SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str() + 1));
}

void paintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace bench

int wmain(int argc, wchar_t** argv) {
    using namespace bench;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"documents" && argc > 2) {
        const std::wstring folder = argv[2];
        return writeDocumentFile(folder + L"\\doc256k.txt", 262144) &&
                       writeDocumentFile(folder + L"\\doc2m.txt", 2097152) &&
                       writeDocumentFile(folder + L"\\doc4m.txt", 4194304) &&
                       writeDocumentFile(folder + L"\\docpara.txt", 65536, 4000)
                   ? 0
                   : fail("cannot write the documents");
    }
    if (mode == L"files" && argc > 3)
        return filesBenchmark(argv[2], _wtoi(argv[3]));
    if (mode == L"typing" && argc > 4)
        return typingBenchmark(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
    if (mode == L"recovery" && argc > 5)
        return recoveryBenchmark(argv[2], argv[3], _wtoi(argv[4]), _wtoi(argv[5]));
    if (mode == L"memory" && argc > 4)
        return memoryBenchmark(argv[2], argv[3], argv[4]);
    std::fprintf(stderr, "usage: editor_bench.exe documents <folder> | files <folder> <rounds> | "
                         "typing <document> <rounds> <keys> | recovery <document> <folder> "
                         "<rounds> <keys> | memory editor|bare <document|-> <edit model file>\n");
    return 2;
}
