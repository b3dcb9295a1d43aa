#pragma once
// The recovery copy: while the document has unsaved changes, its text and path are kept in a
// file of the user's, so that a program that does not end normally loses at most the last
// moments of typing. The next start offers the copies back.
//
// Each instance owns the copies named after its id: <id>.recovery, written the safe way, and
// <id>.lock, which it holds open (unshared) for its lifetime once it writes a copy. A copy
// whose lock can be taken belongs to an instance that is gone. The instance that finds such
// copies at its start holds their locks and offers them in turn; it takes over the id of the one
// it restores, and only then. Before a left copy goes into the edit field it is renamed
// <id>.restoring, and the mark goes once a copy of a later change is written: a start that
// finds the mark alone knows that the restored text may have ended the program, and keeps it
// as a document file instead of loading it again.

#include "controls/handles.h"
#include "controls/timer.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ctl {
class Form;
}

namespace app {

class Document;

class Recovery {
public:
    // Copies of `document`, shown in `window`, live in `folder` (ending in a backslash), made
    // only when a copy is first written. Starts the writer thread: throws std::system_error
    // when no thread can be made.
    Recovery(ctl::Form& window, Document& document, std::wstring folder);
    // Stops the writer after what it was given; a copy still on the disk stays.
    ~Recovery();
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // The user's own folder for copies: Dawatik\Recovery in the local application data.
    // Empty when the platform names none.
    static std::wstring userFolder();

    // Holds every copy left by an instance that is gone (unfinished restores first) and, once
    // the message loop runs with the window shown, offers them in turn. Call before the loop.
    void offerLeftCopies();
    // The text changed: a copy follows when typing pauses, and at least every half minute.
    void changed();
    // The document has no unsaved changes any more (saved or discarded): the copy goes.
    void discard();
    // The program ends normally: the copy goes and the writer stops. Nothing is copied or
    // discarded after it.
    void end();
    // The questions about left copies are open: nothing may end the program before the answer.
    bool offering() const noexcept { return offering_; }

    // What the timer does when a copy is due: takes the text on this thread and hands it to
    // the writer. Public for the benchmark, which times the pause it causes.
    void takeCopy();
    // Blocks until the writer has done everything it was given (at once after the end).
    void waitForWriter();

private:
    static constexpr wchar_t kCopy[] = L".recovery";
    static constexpr wchar_t kRestoring[] = L".restoring";
    static constexpr wchar_t kLock[] = L".lock";

    // The id a job's files are named after is the one the GUI thread had when it gave it.
    struct Job {
        bool write = false; // else: delete the copy and its restore mark
        std::wstring id;
        std::wstring path;
        std::wstring text;
    };
    // A copy of an instance that is gone, held (its lock taken) until it is answered.
    struct LeftCopy {
        std::wstring id;
        ctl::UniqueFile lock;
        bool unfinished = false; // its restore ended the program
    };

    // Holds the lock file open and unshared; it goes with the last handle, also when the process
    // is killed. Invalid when another instance holds it.
    static ctl::UniqueFile openLock(const std::wstring& path);
    void tick();
    void schedule();
    void submit(Job job);
    void writerLoop();
    bool perform(const Job& job);
    // Under mutex_.
    bool takeLock(const std::wstring& id);
    void reportWrites();

    // ---- the offer (recovery_offer.cpp)
    void offerInTurn();
    // Asks about one left copy, `more` still to come; false when no more are to be asked about
    // now (this one was restored, or the question closed without an answer).
    bool ask(LeftCopy& left, std::size_t more);
    // True when the text went into the document.
    bool restore(LeftCopy& left, const std::wstring& copy, const std::wstring& path,
                 const std::wstring& text);
    // Writes `text` as a document file beside the copies, tells the user where, and deletes
    // `copy` once the text is safe there.
    void keepAsDocument(const std::wstring& copy, const std::wstring& path,
                        const std::wstring& text, const wchar_t* why);
    std::wstring file(const std::wstring& id, const wchar_t* extension) const;

    ctl::Form& window_;
    Document& document_;
    const std::wstring folder_;

    // ---- the GUI thread's own
    // Own copies are named after it; it becomes the id of the left copy the user restores.
    std::wstring id_;
    // Copies are due; and the offer, once the loop runs.
    ctl::Timer timer_;
    ctl::Timer offerTimer_;
    // GetTickCount64 milliseconds; 0: nothing waiting.
    std::uint64_t unsavedSince_ = 0;
    std::uint64_t lastChange_ = 0;
    bool offering_ = false;
    bool ended_ = false;
    std::vector<LeftCopy> left_;
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
    // The instance's lock; the writer takes it before the first copy, the GUI thread hands it
    // over when a left copy is restored.
    ctl::UniqueFile lock_;
    // A restored copy's mark, deleted once a copy of a later change is written; empty: none.
    std::wstring restoreMark_;
    std::thread writer_;
};

} // namespace app
