#pragma once
// The recovery copy: while the document has unsaved changes, its text and path are kept in a
// file of the user's, so that a program that does not end normally loses at most the last
// moments of typing. The next start offers the copy back.
//
// Each instance owns the copies named after its id: <id>.recovery, written the safe way, and
// <id>.lock, which it holds open (unshared) for its lifetime once it writes a copy. A copy
// whose lock can be taken belongs to an instance that is gone, and the instance that takes it
// goes on under its id. Before a left copy goes into the edit field it is renamed
// <id>.restoring, and the mark goes once a copy of a later change is written: a start that
// finds the mark alone knows that the restored text may have ended the program, and keeps it
// as a document file instead of loading it again.

#include "controls/handles.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace app {

class MainWindow;

class Recovery {
public:
    // Copies live in `folder` (ending in a backslash), made only when a copy is first written.
    // Starts the writer thread: throws std::system_error when no thread can be made.
    Recovery(MainWindow& editor, std::wstring folder);
    // Stops the writer after what it was given; a copy still on the disk stays.
    ~Recovery();
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // The user's own folder for copies: Dawatik\Recovery in the local application data.
    // Empty when the platform names none.
    static std::wstring userFolder();

    // Takes one copy left by an instance that is gone (an unfinished restore first) and, once
    // the message loop runs with the window shown, offers it back. Call before the loop.
    void offerLeftCopy();
    // The text changed: a copy follows when typing pauses, and at least every half minute.
    void changed();
    // The document has no unsaved changes any more (saved or discarded): the copy goes.
    void discard();
    // The program ends normally: the copy goes and the writer stops.
    void end();
    // The question about a left copy is open: nothing may end the program before the answer.
    bool offering() const noexcept { return offering_; }

    // What the timer does when a copy is due: takes the text on this thread and hands it to
    // the writer. Public for the benchmark, which times the pause it causes.
    void takeCopy();
    // Blocks until the writer has done everything it was given.
    void waitForWriter();

private:
    enum class Left : std::uint8_t { None, Copy, Unfinished };
    struct Job {
        bool write = false; // else: delete the copy
        std::wstring path;
        std::wstring text;
    };

    static void CALLBACK onTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void tick();
    void schedule();
    void submit(Job job);
    void writerLoop();
    bool perform(const Job& job);
    bool takeLock();
    void reportWrites();
    void askAboutLeftCopy();
    void restore();
    // Writes the left text as a document file beside the copies, tells the user where, and
    // deletes `copy` once the text is safe there.
    void keepAsDocument(const std::wstring& copy, const wchar_t* why);
    std::wstring file(const wchar_t* extension) const;

    MainWindow& editor_;
    HWND window_;
    const std::wstring folder_;
    // Own copies are named after it; it becomes the id of a left copy this instance takes.
    std::wstring id_;
    ctl::UniqueFile lock_;

    // ---- the GUI thread's timing (GetTickCount64 milliseconds; 0: nothing waiting)
    std::uint64_t unsavedSince_ = 0;
    std::uint64_t lastChange_ = 0;
    bool timerRunning_ = false;
    bool offering_ = false;
    Left left_ = Left::None;
    std::wstring leftPath_;
    std::wstring leftText_;
    bool failureShown_ = false;
    std::wstring statusBeforeFailure_;
    std::uint64_t writesSeen_ = 0;

    // ---- shared with the writer thread, under mutex_
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> job_;
    bool busy_ = false;
    bool stopping_ = false;
    std::uint64_t writesDone_ = 0;
    bool lastWriteFailed_ = false;
    // A restored copy is marked on the disk until a copy of a later change is written.
    bool restoreMarked_ = false;
    std::thread writer_;
};

} // namespace app
