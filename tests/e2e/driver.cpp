#include "driver.h"

#include "picture.h"
#include "support/program.h"

#include <algorithm>

namespace e2e {

namespace {

constexpr wchar_t kTitle[] = L"Dawatik 1.4";

bool endsWith(const std::wstring& text, std::wstring_view end) {
    return text.size() >= end.size() &&
           _wcsicmp(text.c_str() + text.size() - end.size(), std::wstring(end).c_str()) == 0;
}

DWORD processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

// The top-level windows of `process` for which `wanted` holds, in the platform's order.
template <class Wanted>
std::vector<HWND> windowsOf(DWORD process, Wanted wanted) {
    struct Search {
        DWORD process;
        Wanted& wanted;
        std::vector<HWND> found;
    } search{process, wanted, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* state = reinterpret_cast<Search*>(context);
            if (processOf(window) == state->process && state->wanted(window))
                state->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool isShownDialog(HWND window) {
    return classOf(window) == L"#32770" && IsWindowVisible(window);
}

// A dialog that takes input: a message box above a file dialog, not the file dialog below it.
bool isOpenDialog(HWND window) {
    return isShownDialog(window) && IsWindowEnabled(window);
}

} // namespace

std::wstring textOf(HWND window) {
    if (!window)
        return L"<no window>";
    const auto lengthOf = [window](DWORD_PTR& length) {
        return SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                   &length) != 0;
    };
    DWORD_PTR length = 0;
    if (!lengthOf(length))
        return L"<no answer>";
    // The text may change between the two questions (a key or an Undo the program was still
    // taking): a text that fills the room made for it is asked again until its length holds.
    for (;;) {
        std::wstring text(length + 1, L'\0');
        DWORD_PTR got = 0;
        DWORD_PTR now = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(),
                                 reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                                 &got) ||
            !lengthOf(now))
            return L"<no answer>";
        if (now == got) {
            text.resize(got);
            return text;
        }
        length = now;
    }
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring localAppData(const std::wstring& folder) {
    return folder + L"AppData\\Local\\";
}

namespace {

// The driver's environment with LOCALAPPDATA replaced, as a block for CreateProcessW.
std::wstring environmentWith(const std::wstring& localAppData) {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        if (_wcsnicmp(entry, L"LOCALAPPDATA=", 13) != 0)
            block.append(entry).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
    block.append(L"LOCALAPPDATA=" + localAppData).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

} // namespace

Program::Program(const std::wstring& folder, int showCommand) {
    const std::wstring program = folder + L"dawatik.exe";
    if (!CopyFileW(testing_gui::programPath().c_str(), program.c_str(), FALSE) &&
        GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    start(folder, folder, showCommand);
}

Program::Program(const std::wstring& folder, const std::wstring& user) {
    start(folder, user, -1);
}

void Program::start(const std::wstring& folder, const std::wstring& user, int showCommand) {
    const std::wstring program = folder + L"dawatik.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    // The folder exists, as the platform's does; what the program puts inside it is its own.
    const std::wstring appData = localAppData(user);
    CreateDirectoryW((user + L"AppData").c_str(), nullptr);
    CreateDirectoryW(appData.c_str(), nullptr);
    std::wstring environment = environmentWith(appData.substr(0, appData.size() - 1));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(), folder.c_str(), &startup,
                        &process_))
        return;
    WaitForInputIdle(process_.hProcess, 20000);
    std::vector<HWND> found;
    waitFor(
        [&] {
            found = windowsOf(process_.dwProcessId, [](HWND window) {
                return IsWindowVisible(window) && classOf(window) != L"#32770" &&
                       textOf(window) == kTitle;
            });
            return !found.empty();
        },
        20000);
    if (found.empty())
        return;
    EnumChildWindows(
        found[0],
        [](HWND child, LPARAM context) -> BOOL {
            auto* self = reinterpret_cast<Program*>(context);
            const std::wstring name = classOf(child);
            if (name == L"obj_EDIT" && !self->edit_)
                self->edit_ = child;
            else if (endsWith(name, L"statusbar32"))
                self->status_ = child;
            else if (endsWith(name, L"ToolbarWindow32"))
                self->toolbar_ = child;
            else if (name == L"obj_COMBOBOX") {
                const bool list = (GetWindowLongW(child, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
                (list ? self->fontName_ : self->fontSize_) = child;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
    if (edit_ && status_ && toolbar_ && fontName_ && fontSize_)
        main_ = found[0];
}

Program::~Program() {
    if (process_.hProcess) {
        if (running())
            kill();
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

bool Program::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void Program::kill() {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
}

long Program::waitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
}

namespace {

::testing::AssertionResult waitForWindowText(HWND window, std::wstring_view text, DWORD timeoutMs) {
    std::wstring seen;
    if (waitFor(
            [&] {
                seen = textOf(window);
                return seen == text;
            },
            timeoutMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "it holds " << ::testing::PrintToString(seen) << ", not "
           << ::testing::PrintToString(std::wstring(text));
}

} // namespace

::testing::AssertionResult Program::waitForStatus(std::wstring_view text, DWORD timeoutMs) const {
    return waitForWindowText(status_, text, timeoutMs);
}

::testing::AssertionResult Program::caretToEnd() const {
    click(edit_);
    press(VK_END, true);
    DWORD_PTR selection = 0;
    std::size_t length = 0;
    // Small texts only: EM_GETSEL answers both ends in 16 bits each.
    if (waitFor([&] {
            length = editText().size();
            return SendMessageTimeoutW(edit_, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                       &selection) &&
                   LOWORD(selection) == length && HIWORD(selection) == length;
        }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the selection is " << LOWORD(selection) << " to "
                                         << HIWORD(selection) << " in a text of " << length;
}

std::pair<std::size_t, std::size_t> Program::selection() const {
    // The platform carries the two ends over to the program and back; the answer alone holds
    // them in 16 bits each.
    DWORD start = MAXDWORD;
    DWORD end = MAXDWORD;
    DWORD_PTR both = 0;
    SendMessageTimeoutW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, 5000, &both);
    if (start == MAXDWORD || end == MAXDWORD)
        return {LOWORD(both), HIWORD(both)};
    return {start, end};
}

std::wstring Program::windowsShown() const {
    std::wstring shown;
    for (HWND window : windowsOf(process_.dwProcessId, IsWindowVisible))
        shown += L" [" + classOf(window) + L" \"" + textOf(window) + L"\"" +
                 (IsWindowEnabled(window) ? L"" : L" disabled") + L"]";
    return shown.empty() ? L" none" : shown;
}

HWND Program::windowCaptioned(const std::wstring& caption) const {
    const std::vector<HWND> found = windowsOf(process_.dwProcessId, [&](HWND window) {
        return IsWindowVisible(window) && textOf(window) == caption;
    });
    return found.empty() ? nullptr : found[0];
}

bool Program::fontListOpen() const {
    return ask(fontName_, CB_GETDROPPEDSTATE) != 0;
}

::testing::AssertionResult Program::waitForText(std::wstring_view text, DWORD timeoutMs) const {
    return waitForWindowText(edit_, text, timeoutMs);
}

bool Program::inMenu() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process_.dwThreadId, &info) && (info.flags & GUI_INMENUMODE) != 0;
}

std::vector<HWND> Program::popupMenus() const {
    std::vector<HWND> popups = windowsOf(process_.dwProcessId, [](HWND window) {
        return IsWindowVisible(window) && classOf(window) == L"#32768";
    });
    std::sort(popups.begin(), popups.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return popups;
}

Program::Marks Program::alignMarks() const {
    Marks marks;
    // Alt opens the menu bar on File; View is two to the right; its second item opens Text
    // Align, whose items are Right and Center.
    chooseFromMenu({VK_RIGHT, VK_RIGHT, VK_DOWN});
    const bool opened = waitFor([this] { return popupMenus().size() == 1; }, 5000);
    press(VK_DOWN);
    press(VK_RIGHT);
    if (opened && waitFor([this] { return popupMenus().size() == 2; }, 5000)) {
        // Let it paint, then read it.
        const Picture picture = Picture::settledClientArea(popupMenus().back());
        if (!picture.pixels.empty()) {
            const int rowHeight = picture.height / 2;
            const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
            // A row's check mark is drawn in the column left of its text: it is marked when
            // that column holds more than a few pixels other than its most common colour (the
            // row's background, highlighted or not).
            auto marked = [&](int row) {
                const int top = row * rowHeight;
                std::vector<COLORREF> column;
                for (int y = top + 3; y < top + rowHeight - 3; ++y) {
                    for (int x = 3; x < checkWidth && x < picture.width; ++x)
                        column.push_back(picture.at(x, y));
                }
                std::sort(column.begin(), column.end());
                std::size_t most = 0;
                for (std::size_t i = 0; i < column.size();) {
                    std::size_t j = i;
                    while (j < column.size() && column[j] == column[i])
                        ++j;
                    most = std::max(most, j - i);
                    i = j;
                }
                return column.size() - most >= 4;
            };
            marks.seen = true;
            marks.right = marked(0);
            marks.center = marked(1);
        }
    }
    // Escape closes the two menus, then leaves the menu bar.
    for (std::size_t open : {1u, 0u}) {
        press(VK_ESCAPE);
        waitFor([&] { return popupMenus().size() <= open; }, 2000);
    }
    press(VK_ESCAPE);
    if (!waitFor([this] { return !inMenu(); }, 2000))
        marks.seen = false;
    return marks;
}

bool Program::remoteCall(UINT message, WPARAM wParam, void* result, std::size_t size) const {
    void* remote =
        VirtualAllocEx(process_.hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote)
        return false;
    DWORD_PTR answer = 0;
    SIZE_T read = 0;
    const bool ok = SendMessageTimeoutW(toolbar_, message, wParam, reinterpret_cast<LPARAM>(remote),
                                        SMTO_ABORTIFHUNG, 5000, &answer) &&
                    answer && ReadProcessMemory(process_.hProcess, remote, result, size, &read) &&
                    read == size;
    VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    return ok;
}

bool Program::buttonDown(int index) const {
    TBBUTTON button{};
    if (!remoteCall(TB_GETBUTTON, static_cast<WPARAM>(index), &button, sizeof button))
        return false;
    return ask(toolbar_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(button.idCommand)) != 0;
}

Dialog Program::waitForDialog(DWORD timeoutMs) const {
    Dialog dialog;
    std::vector<HWND> found;
    waitFor(
        [&] {
            found = windowsOf(process_.dwProcessId, isOpenDialog);
            return !found.empty();
        },
        timeoutMs);
    if (found.empty())
        return dialog;
    HWND box = found[0];
    dialog.window = box;
    dialog.caption = textOf(box);
    dialog.fileDialog = GetDlgItem(box, 0x47C) != nullptr;
    if (!dialog.fileDialog) {
        // Wait for the text: a box that has just opened may not have its text field yet.
        waitFor([&] { return GetDlgItem(box, 0xFFFF) != nullptr; }, 2000);
        dialog.text = textOf(GetDlgItem(box, 0xFFFF));
    }
    for (int button : {IDOK, IDCANCEL, IDYES, IDNO}) {
        // Wine's box holds every button and hides those it does not offer.
        HWND item = GetDlgItem(box, button);
        if (item && IsWindowVisible(item))
            dialog.buttons.push_back(button);
    }
    return dialog;
}

bool Program::answer(const Dialog& dialog, int button) {
    PostMessageW(dialog.window, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return waitFor([&] { return !IsWindow(dialog.window); });
}

bool Program::chooseFile(const Dialog& dialog, const std::wstring& path) {
    HWND field = GetDlgItem(dialog.window, 0x47C);
    DWORD_PTR ignored = 0;
    if (!field || !SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                                       SMTO_ABORTIFHUNG, 5000, &ignored))
        return false;
    PostMessageW(dialog.window, WM_COMMAND, IDOK, 0);
    // Gone, or disabled under a question it asks (the file exists).
    return waitFor([&] {
        return !IsWindow(dialog.window) || !IsWindowVisible(dialog.window) ||
               !IsWindowEnabled(dialog.window);
    });
}

bool Program::noDialog() const {
    return windowsOf(process_.dwProcessId, isOpenDialog).empty();
}

int Program::dialogCount() const {
    return static_cast<int>(windowsOf(process_.dwProcessId, isShownDialog).size());
}

std::vector<std::wstring> namesIn(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (const std::wstring name = data.cFileName; name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring setting(const std::wstring& file, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"General", key, L"<none>", value, 256, file.c_str());
    return value;
}

} // namespace e2e
