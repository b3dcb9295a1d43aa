#pragma once

// Where the build put dawatik.exe, for tests that start the finished program. The test target
// defines DAWATIK_PROGRAM; the environment variable of that name, when set, names another copy
// (a long run's, frozen while the tree builds on).

#include <windows.h>

#include <string>

namespace testing_gui {

// A build under Wine names the program by its Unix path, which the Z: drive reaches.
inline std::wstring programPath() {
    wchar_t chosen[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"DAWATIK_PROGRAM", chosen, MAX_PATH) - 1u < MAX_PATH - 1u)
        return chosen;
    const std::string built = DAWATIK_PROGRAM;
    std::wstring path(built.begin(), built.end());
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return path.front() == L'\\' ? L"Z:" + path : path;
}

} // namespace testing_gui
