// Start-up, measured from this separate driver process from CreateProcess until the main window
// is visible and, for the editor and its bound of the same windows, the font-name box is filled:
//   startup_driver.exe startup <rounds> <editor.exe> <minimal.exe> <bare_editor.exe> <model>

#include "bench/bench_common.h"
#include "bench/driving.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using bench::ask;
using bench::milliseconds;

// Starts the command line and answers the milliseconds until `ready` holds for its visible
// main window, then closes it; a negative time when it never got there.
template <class Ready>
double timeUntil(const std::wstring& commandLine, const std::wstring& folder, Ready ready) {
    bench::Program program(commandLine, folder);
    return program.waitUntil(ready) ? milliseconds() - program.started : -1;
}

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

int startup(int rounds, const std::wstring& editor, const std::wstring& minimal,
            const std::wstring& bare, const std::wstring& model) {
    const char* names[] = {"the editor", "the minimal program", "the bare editor"};
    const std::wstring commandLines[] = {quoted(editor), quoted(minimal),
                                         quoted(bare) + L" " + quoted(model)};
    const std::wstring folders[] = {folderOf(editor), folderOf(minimal), folderOf(bare)};
    std::vector<double> times[3];
    auto fontsListed = [](HWND window) {
        HWND box = bench::fontNameBoxOf(window);
        return box && ask(box, CB_GETCOUNT) > 0;
    };
    auto shown = [](HWND) { return true; };
    // Round 0 warms the file cache and the wineserver; it is not counted.
    for (int round = 0; round <= rounds; ++round) {
        // Each round starts with another of the three, so a disturbance hits all alike.
        for (int turn = 0; turn < 3; ++turn) {
            const int which = (turn + round) % 3;
            const double took = which == 1
                                    ? timeUntil(commandLines[which], folders[which], shown)
                                    : timeUntil(commandLines[which], folders[which], fontsListed);
            if (took < 0) {
                std::fprintf(stderr, "startup_driver: %s did not come up\n", names[which]);
                return 1;
            }
            if (round > 0)
                times[which].push_back(took);
        }
    }
    bench::printRow("Start-up to initialised window (ms)", times[0], times[1], "ms", "ratio:1.50");
    bench::printRow("Start-up vs bound of the same windows (ms)", times[0], times[2], "ms",
                    "ratio:1.10");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 0;
    if (mode == L"startup" && argc == 7 && rounds > 0)
        return startup(rounds, argv[3], argv[4], argv[5], argv[6]);
    std::fprintf(stderr, "usage: startup_driver.exe startup <rounds> <editor.exe> <minimal.exe> "
                         "<bare_editor.exe> <edit model>\n");
    return 2;
}
