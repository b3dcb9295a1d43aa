// The program itself, started with a file path on its command line: it opens nothing.

#include "support/files.h"
#include "support/gui.h"
#include "support/program.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The visible main window of that process.
HWND mainWindowOf(DWORD process) {
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, L"Dawatik 1.4"); window;
         window = FindWindowExW(nullptr, window, nullptr, L"Dawatik 1.4")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// GetWindowTextW does not ask the windows of another process for their text: the message does.
std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// The edit field, inside one of the main window's panels.
HWND editFieldOf(HWND main) {
    for (HWND panel = FindWindowExW(main, nullptr, L"obj_STATIC", nullptr); panel;
         panel = FindWindowExW(main, panel, L"obj_STATIC", nullptr)) {
        if (HWND edit = FindWindowExW(panel, nullptr, L"obj_EDIT", nullptr))
            return edit;
    }
    return nullptr;
}

} // namespace

TEST(Program, APathOnTheCommandLineOpensNothing) {
    // A folder of its own, so the program's settings file lands there.
    testing_files::TempFolder folder;
    const std::wstring program = folder.file(L"dawatik.exe");
    ASSERT_TRUE(CopyFileW(testing_gui::programPath().c_str(), program.c_str(), FALSE))
        << testing_gui::programPath();
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

    HWND main = nullptr;
    for (int i = 0; i < 400 && !main; ++i) {
        Sleep(25);
        main = mainWindowOf(process.dwProcessId);
    }
    ASSERT_NE(main, nullptr);
    Sleep(200); // let it finish start-up
    HWND edit = editFieldOf(main);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(textOf(edit), L"");
    EXPECT_EQ(textOf(FindWindowExW(main, nullptr, L"obj_msctls_statusbar32", nullptr)),
              L" Dawatik 1.4");

    // Unchanged, so it closes without a question and ends with exit code 0.
    PostMessageW(main, WM_CLOSE, 0, 0);
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
