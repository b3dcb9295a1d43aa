#pragma once
// Drives the finished program from outside, as a user does: it starts dawatik.exe from a folder
// of its own, types and clicks with real input (SendInput), answers its dialogs and message
// boxes, and reads what the program shows through messages that cross process boundaries.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace e2e {

// Polls `condition` until it holds or `timeoutMs` pass; true when it held.
template <class Condition>
bool waitFor(Condition condition, DWORD timeoutMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Sleep(20);
    }
}

// A window's text asked of its own process (GetWindowTextW does not ask other processes).
std::wstring textOf(HWND window);
std::wstring classOf(HWND window);

// The program as built, as a Windows path.
std::wstring programPath();

// A message answered by the program, or 0 when it does not answer within 5 s.
inline DWORD_PTR ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer);
    return answer;
}

// A message box or common dialog the program shows.
struct Dialog {
    HWND window = nullptr;
    std::wstring caption;
    // A message box's text (empty for a file dialog).
    std::wstring text;
    bool fileDialog = false;
    std::vector<int> buttons; // of IDOK, IDCANCEL, IDYES, IDNO
};

// The local application data folder a program started from `folder` is given (LOCALAPPDATA, as
// the platform sets it for each user): its recovery copies stay inside the scenario's folder.
std::wstring localAppData(const std::wstring& folder);

class Program {
public:
    // Starts dawatik.exe copied into `folder` (with its working folder there, and
    // localAppData(folder) as its user's) and waits until its main window is shown;
    // `showCommand`, when given, is the shortcut's "Run" choice (SW_SHOWMAXIMIZED, ...).
    // `started()` tells whether it got that far.
    explicit Program(const std::wstring& folder, int showCommand = -1);
    // Starts the dawatik.exe that is already in `folder` (a package unpacked there) as it is,
    // with localAppData(`user`) as its user's.
    Program(const std::wstring& folder, const std::wstring& user);
    // Ends the program if it still runs, so that a failing test leaves nothing behind.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return main_ != nullptr; }
    bool running() const;
    // Waits for the process to end; its exit code, or -1 when it did not end in time.
    long waitForExit(DWORD timeoutMs = 10000);
    // Presses Alt+F4, as the user closes the window, and waits for the process to end.
    long closeWithAltF4() {
        press(VK_F4, false, true);
        return waitForExit();
    }
    // Ends the process at once, as a crash or a power cut would.
    void kill();

    HWND main() const { return main_; }
    HWND edit() const { return edit_; }
    HWND toolbar() const { return toolbar_; }
    HWND fontNameBox() const { return fontName_; }
    HWND fontSizeBox() const { return fontSize_; }

    std::wstring title() const { return textOf(main_); }
    // The selection of the text, also past 64K code units: its start and end.
    std::pair<std::size_t, std::size_t> selection() const;
    // The program's shown top-level windows, by class, caption and whether they take input:
    // what a failure tells was on the screen.
    std::wstring windowsShown() const;
    // A shown top-level window of the program with this caption (the About window, say).
    HWND windowCaptioned(const std::wstring& caption) const;
    std::wstring editText() const { return textOf(edit_); }
    std::wstring statusText() const { return textOf(status_); }
    std::wstring fontText() const { return textOf(fontName_); }
    std::wstring sizeText() const { return textOf(fontSize_); }
    // Puts the caret at the end of the text as a user does (a click into the field, then
    // Ctrl+End) and waits until it is there.
    ::testing::AssertionResult caretToEnd() const;
    // Whether the font list is open.
    bool fontListOpen() const;
    // Clicks into the text, types `keys` there and waits until the text is `shown`.
    ::testing::AssertionResult typeIntoText(std::wstring_view keys, std::wstring_view shown) const {
        click(edit_);
        type(keys);
        return waitForText(shown);
    }
    // Wait until the edit field or the status bar holds `text`; a failure shows what it held.
    ::testing::AssertionResult waitForText(std::wstring_view text, DWORD timeoutMs = 10000) const;
    ::testing::AssertionResult waitForStatus(std::wstring_view text, DWORD timeoutMs = 10000) const;

    // The check marks of View > Text Align as the user sees them: the menu is opened with the
    // keyboard, its picture read from the screen, and the menu closed again. (Wine 8 keeps a
    // menu's items inside its process: GetMenuState cannot read them from another.)
    struct Marks {
        bool seen = false; // the menu opened and was read
        bool right = false;
        bool center = false;
    };
    Marks alignMarks() const;
    // The program's menu bar or a menu of it takes the keys.
    bool inMenu() const;
    // Whether a toolbar button is down.
    bool buttonDown(int index) const;

    // ---- real input
    // Before any input: waits until the program takes it in its main window, as a user waits
    // for a dialog to be gone (no dialog of the program left, the main window enabled, in front
    // and holding the keyboard focus).
    void toFront() const;
    // Types Latin text on the keyboard, key by key (with Shift held over each run of characters
    // that need it).
    void type(std::wstring_view keys) const;
    // Presses one key, with the modifiers held.
    void press(WORD virtualKey, bool ctrl = false, bool alt = false, bool shift = false) const;
    // Presses one key (with Ctrl held) and waits until the program has taken its press and its
    // release. False when it did not.
    bool pressAndWait(WORD virtualKey, bool ctrl = false) const;
    // Chooses from the menu bar with the keyboard: Alt, then `keys` (arrows, Enter).
    void chooseFromMenu(const std::vector<WORD>& keys) const;
    // Chooses from the menu bar with the mouse: a click on its `barItem`-th title, then on the
    // `rows[i]`-th item of each menu that opens (separators not counted), where that menu holds
    // `counts[i]` items. Rows are found on the screen; empty when it worked, else what failed
    // (the menus are closed again).
    std::wstring chooseWithMouse(int barItem, const std::vector<int>& rows,
                                 const std::vector<int>& counts) const;
    // Clicks at a point on the screen (or only presses the button there).
    void clickAt(POINT point, bool release = true) const;
    // Clicks at a point and waits until the program has taken the press and the release: the
    // window under the mouse captures it between them. False when it did not.
    bool clickAtAndWait(POINT point) const;
    // Presses the button at `from`, moves to `to` with it held and releases it there, waiting
    // until the program has taken both. False when it did not.
    bool dragAndWait(POINT from, POINT to) const;
    // Clicks the middle of a window.
    void click(HWND window) const;
    // Clicks a toolbar button (index into the toolbar, separators counted).
    void clickButton(int index) const;

    // ---- dialogs
    // Waits for a dialog of the program that is shown and enabled (a message box above a file
    // dialog, not the file dialog below it); its window is null when none came.
    Dialog waitForDialog(DWORD timeoutMs = 10000) const;
    // Presses a key (with Alt) in a dialog of the program, as the user does over it.
    static bool pressIn(const Dialog& dialog, WORD virtualKey, bool alt = false);
    // Presses a button and waits until the dialog is gone.
    static bool answer(const Dialog& dialog, int button);
    // Types a file name into a file dialog and presses its OK button.
    static bool chooseFile(const Dialog& dialog, const std::wstring& path);
    // No dialog of the program is open.
    bool noDialog() const;
    // The message boxes and dialogs of the program that are shown.
    int dialogCount() const;

private:
    void start(const std::wstring& folder, const std::wstring& user, int showCommand);
    // The program's visible popup menus, from left to right.
    std::vector<HWND> popupMenus() const;
    // A window of the program holds the mouse (a button is down over it).
    bool captured() const;
    static void moveTo(POINT point);
    // TB_GETITEMRECT and TB_GETBUTTON write into the caller's memory: that memory must be the
    // toolbar's process's.
    bool remoteCall(UINT message, WPARAM wParam, void* result, std::size_t size) const;

    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
    HWND edit_ = nullptr;
    HWND status_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND fontName_ = nullptr;
    HWND fontSize_ = nullptr;
};

// The names in `folder` (ending in a backslash) that match `pattern`, sorted.
std::vector<std::wstring> namesIn(const std::wstring& folder, const wchar_t* pattern = L"*");

// The value of a key in section General of a settings file; "<none>" when missing.
std::wstring setting(const std::wstring& file, const wchar_t* key);

} // namespace e2e
