// Figures that begin at CreateProcess, measured from this separate driver process:
//   startup_driver.exe startup <rounds> <editor.exe> <minimal.exe>
//     until the main window is visible and, for the editor, its font-name box is filled;
//   startup_driver.exe notepad <rounds> <document> <code units>...
//     Wine's notepad: until its window shows, with no file and with each document until its
//     edit field holds the whole text.

#include "bench/bench_common.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using bench::milliseconds;

struct Search {
    DWORD process = 0;
    HWND found = nullptr;
};

BOOL CALLBACK findTopWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND visibleWindowOf(DWORD process) {
    Search search{process, nullptr};
    EnumWindows(findTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    const wchar_t* className;
    bool dropDownList;
    HWND found = nullptr;
};

BOOL CALLBACK findChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    // The editor's classes are the platform's under a prefix of their own ("obj_COMBOBOX").
    wchar_t name[64] = {};
    const std::size_t length = static_cast<std::size_t>(GetClassNameW(window, name, 64));
    const std::size_t wanted = std::wcslen(search->className);
    if (length < wanted || _wcsicmp(name + length - wanted, search->className) != 0)
        return TRUE;
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    if (search->dropDownList && (style & 3) != CBS_DROPDOWNLIST)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND childOf(HWND top, const wchar_t* className, bool dropDownList) {
    ChildSearch search{className, dropDownList, nullptr};
    EnumChildWindows(top, findChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT ask(HWND window, UINT message) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, 5000, &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

// Starts the command line and answers the milliseconds until `ready` holds for its visible
// main window, then closes it; a negative time when it never got there.
template <class Ready>
double timeUntil(std::wstring commandLine, const std::wstring& folder, Ready ready) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const double start = milliseconds();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return -1;
    double took = -1;
    HWND window = nullptr;
    while (milliseconds() - start < 60000) {
        window = visibleWindowOf(info.dwProcessId);
        if (window && ready(window)) {
            took = milliseconds() - start;
            break;
        }
        if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return took;
}

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

int startup(int rounds, const std::wstring& editor, const std::wstring& minimal) {
    std::vector<double> editorTimes, minimalTimes;
    auto fontsListed = [](HWND window) {
        HWND box = childOf(window, L"ComboBox", true);
        return box && ask(box, CB_GETCOUNT) > 0;
    };
    auto shown = [](HWND) { return true; };
    // Round 0 warms the file cache and the wineserver; it is not counted.
    for (int round = 0; round <= rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool editorTurn = (turn == 0) == (round % 2 == 0);
            const double took =
                editorTurn ? timeUntil(L"\"" + editor + L"\"", folderOf(editor), fontsListed)
                           : timeUntil(L"\"" + minimal + L"\"", folderOf(minimal), shown);
            if (took < 0) {
                std::fprintf(stderr, "startup_driver: %s did not come up\n",
                             editorTurn ? "the editor" : "the minimal program");
                return 1;
            }
            if (round > 0)
                (editorTurn ? editorTimes : minimalTimes).push_back(took);
        }
    }
    bench::printRow("Start-up to initialised window (ms)", editorTimes, minimalTimes, "ms",
                    "ratio:1.50");
    return 0;
}

// Notepad's start alone and its start with each document; the difference is its Open.
int notepad(int rounds, int argc, wchar_t** argv) {
    const std::wstring program = L"notepad.exe";
    std::vector<double> empty;
    std::vector<std::vector<double>> opened(static_cast<std::size_t>(argc / 2));
    auto editShown = [](HWND window) { return childOf(window, L"Edit", false) != nullptr; };
    for (int round = 0; round <= rounds; ++round) {
        const double none = timeUntil(program, L"", editShown);
        if (none < 0)
            return std::fprintf(stderr, "startup_driver: notepad did not come up\n"), 1;
        if (round > 0)
            empty.push_back(none);
        for (int i = 0; i + 1 < argc; i += 2) {
            const std::wstring document = argv[i];
            const int units = _wtoi(argv[i + 1]);
            auto holdsAll = [units](HWND window) {
                HWND edit = childOf(window, L"Edit", false);
                return edit && ask(edit, WM_GETTEXTLENGTH) == units;
            };
            const double took = timeUntil(program + L" \"" + document + L"\"", L"", holdsAll);
            if (took < 0) {
                std::fprintf(stderr, "startup_driver: notepad did not show %s whole\n",
                             narrow(document).c_str());
                return 1;
            }
            if (round > 0)
                opened[static_cast<std::size_t>(i / 2)].push_back(took);
        }
    }
    const double start = bench::median(empty);
    std::printf("NOTEPAD_START|%.3f|%d\n", start, rounds);
    for (int i = 0; i + 1 < argc; i += 2)
        std::printf("NOTEPAD|%s|%.3f|%.3f|%d\n", narrow(argv[i]).c_str(),
                    bench::median(opened[static_cast<std::size_t>(i / 2)]),
                    bench::median(opened[static_cast<std::size_t>(i / 2)]) - start, rounds);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 0;
    if (mode == L"startup" && argc == 5 && rounds > 0)
        return startup(rounds, argv[3], argv[4]);
    if (mode == L"notepad" && argc >= 5 && rounds > 0)
        return notepad(rounds, argc - 3, argv + 3);
    std::fprintf(stderr, "usage: startup_driver.exe startup <rounds> <editor.exe> <minimal.exe>\n"
                         "       startup_driver.exe notepad <rounds> (<document> <units>)...\n");
    return 2;
}
