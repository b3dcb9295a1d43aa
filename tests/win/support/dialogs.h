#pragma once
// Answers the dialogs and message boxes that code under test shows, as a user would: a thread
// of its own watches for dialog windows of this process (class #32770), notes what they show,
// then types a file name and presses OK, or presses a message-box button. A dialog nobody
// planned for is cancelled and reported, so a test never hangs on it.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace testing_gui {

struct SeenDialog {
    std::wstring caption;
    // A message box's text, or the file name a file dialog proposed.
    std::wstring text;
    bool fileDialog = false;
    HWND owner = nullptr;
    // The standard buttons it offers, of IDOK, IDCANCEL, IDYES and IDNO.
    std::vector<int> buttons;
    // False for a dialog the test did not plan an answer for (it was cancelled).
    bool planned = true;

    // The program's own message box, saying `said` with `offered` to press.
    bool isProgramBox(const std::wstring& said, const std::vector<int>& offered) const {
        return !fileDialog && caption == L"Dawatik 1.4" && text == said && buttons == offered;
    }
};

class DialogDriver {
public:
    DialogDriver() { thread_ = CreateThread(nullptr, 0, &DialogDriver::run, this, 0, nullptr); }
    ~DialogDriver() { finish(); }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The next dialog is a file dialog: type `path` as its file name and press OK.
    DialogDriver& type(std::wstring path) { return plan({std::move(path), IDOK, true}); }
    // The next dialog is a file dialog to cancel.
    DialogDriver& cancelFileDialog() { return plan({{}, IDCANCEL, true}); }
    // The file dialog answered last is still open after a box it showed: cancel it now.
    DialogDriver& cancelFileDialogStillOpen() { return plan({{}, IDCANCEL, true, true}); }
    // The next dialog is a message box: press the button (IDOK, IDCANCEL, IDYES, IDNO).
    DialogDriver& press(int button) { return plan({{}, button, false}); }

    // What was shown so far, in order.
    std::vector<SeenDialog> seen() {
        std::lock_guard lock(mutex_);
        return seen_;
    }
    // Stops watching and answers everything seen.
    std::vector<SeenDialog> finish() {
        if (thread_) {
            stop_ = true;
            // The watcher may be sending to a dialog of this thread: keep answering sent
            // messages until it ends.
            while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE) !=
                   WAIT_OBJECT_0) {
                MSG msg;
                PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            }
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        return seen();
    }

private:
    struct Step {
        std::wstring path;
        int button;
        bool fileDialog;
        bool stillOpen = false;
    };

    DialogDriver& plan(Step step) {
        std::lock_guard lock(mutex_);
        steps_.push_back(std::move(step));
        return *this;
    }

    static std::wstring textOf(HWND window) {
        wchar_t buffer[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                            SMTO_ABORTIFHUNG, 2000, &length);
        return buffer;
    }

    // A dialog answered before is answered again only when the plan says it stays open and
    // another dialog (the box it showed) was answered since: a dialog that is closing after
    // its answer may stay on screen for seconds.
    bool eligible(HWND window) {
        const auto it = std::find_if(handled_.begin(), handled_.end(),
                                     [window](const Handled& h) { return h.window == window; });
        if (it == handled_.end())
            return true;
        std::lock_guard lock(mutex_);
        return !steps_.empty() && steps_.front().stillOpen && answered_ > it->order + 1;
    }

    static BOOL CALLBACK collect(HWND window, LPARAM context) {
        auto* self = reinterpret_cast<DialogDriver*>(context);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
            IsWindowVisible(window) && IsWindowEnabled(window) && self->eligible(window)) {
            self->found_ = window;
            return FALSE;
        }
        return TRUE;
    }

    // The message text: the box's text field, else its longest static text.
    static std::wstring messageText(HWND box) {
        if (HWND text = GetDlgItem(box, 0xFFFF))
            return textOf(text);
        std::wstring longest;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[16] = {};
            GetClassNameW(child, className, 16);
            if (_wcsicmp(className, L"Static") == 0) {
                std::wstring text = textOf(child);
                if (text.size() > longest.size())
                    longest = text;
            }
        }
        return longest;
    }

    void answer(HWND dialog) {
        Sleep(100); // let the dialog finish the messages it posts to itself on opening
        SeenDialog seen;
        wchar_t caption[256] = {};
        InternalGetWindowText(dialog, caption, 256);
        seen.caption = caption;
        seen.owner = GetWindow(dialog, GW_OWNER);
        for (int button : {IDOK, IDCANCEL, IDYES, IDNO}) {
            if (GetDlgItem(dialog, button))
                seen.buttons.push_back(button);
        }
        HWND nameField = GetDlgItem(dialog, 0x47C);
        seen.fileDialog = nameField != nullptr;
        seen.text = nameField ? textOf(nameField) : messageText(dialog);

        Step step{{}, IDCANCEL, seen.fileDialog};
        {
            std::lock_guard lock(mutex_);
            if (steps_.empty() || steps_.front().fileDialog != seen.fileDialog) {
                seen.planned = false;
            } else {
                step = steps_.front();
                steps_.pop_front();
            }
            seen_.push_back(seen);
        }
        if (nameField && step.button == IDOK) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(nameField, WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(step.path.c_str()), SMTO_ABORTIFHUNG, 2000,
                                &ignored);
        }
        PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(step.button), 0);
    }

    static DWORD WINAPI run(void* context) {
        auto* self = static_cast<DialogDriver*>(context);
        while (!self->stop_) {
            std::erase_if(self->handled_, [](const Handled& h) { return !IsWindow(h.window); });
            self->found_ = nullptr;
            EnumWindows(&DialogDriver::collect, reinterpret_cast<LPARAM>(self));
            if (self->found_) {
                std::erase_if(self->handled_,
                              [self](const Handled& h) { return h.window == self->found_; });
                self->handled_.push_back({self->found_, self->answered_++});
                self->answer(self->found_);
            }
            Sleep(20);
        }
        return 0;
    }

    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::deque<Step> steps_;
    std::vector<SeenDialog> seen_;
    // Dialogs already answered (a nested box may appear while its parent dialog still exists).
    struct Handled {
        HWND window;
        unsigned order;
    };
    std::vector<Handled> handled_;
    unsigned answered_ = 0;
    HWND found_ = nullptr;
};

} // namespace testing_gui
