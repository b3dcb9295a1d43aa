// The program itself, started with a file path on its command line: it opens nothing.

#include "support/files.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The program's path as the build gave it; a build under Wine names it as a Unix path, which
// the Z: drive reaches.
std::wstring programPath() {
    const std::string built = DAWATIK_PROGRAM;
    std::wstring path(built.begin(), built.end());
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return path.front() == L'\\' ? L"Z:" + path : path;
}

struct Found {
    DWORD process;
    HWND window = nullptr;
};

BOOL CALLBACK findMainWindow(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<Found*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == found->process && IsWindowVisible(window) &&
        testing_gui::windowText(window) == L"Dawatik 1.4") {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

// GetWindowTextW does not ask the windows of another process for their text: the message does.
std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// The child window whose class name ends with `suffix` (the layer prefixes class names).
HWND childOfClass(HWND parent, const std::wstring& suffix) {
    struct Search {
        const std::wstring& suffix;
        HWND found = nullptr;
    } search{suffix};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            const std::wstring className = name;
            if (className.size() >= s->suffix.size() &&
                _wcsicmp(className.c_str() + className.size() - s->suffix.size(),
                         s->suffix.c_str()) == 0) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

TEST(Program, APathOnTheCommandLineOpensNothing) {
    // A folder of its own, so the program's settings file lands there.
    testing_files::TempFolder folder;
    const std::wstring program = folder.file(L"dawatik.exe");
    ASSERT_TRUE(CopyFileW(programPath().c_str(), program.c_str(), FALSE)) << programPath();
    const std::wstring document = folder.file(L"letter.txt");
    ASSERT_TRUE(testing_files::writeBytes(document, std::string("\xFF\xFE"
                                                                "a\0b\0",
                                                                6)));

    std::wstring commandLine = L"\"" + program + L"\" \"" + document + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, folder.path().c_str(), &startup, &process));

    Found found{process.dwProcessId};
    for (int i = 0; i < 400 && !found.window; ++i) {
        Sleep(25);
        EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&found));
    }
    ASSERT_NE(found.window, nullptr);
    Sleep(200); // let it finish start-up
    HWND edit = childOfClass(found.window, L"EDIT");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(textOf(edit), L"");
    EXPECT_EQ(textOf(childOfClass(found.window, L"msctls_statusbar32")), L" Dawatik 1.4");

    // Unchanged, so it closes without a question and ends with exit code 0.
    PostMessageW(found.window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(testing_files::readBytes(document), std::string("\xFF\xFE"
                                                              "a\0b\0",
                                                              6));
}
