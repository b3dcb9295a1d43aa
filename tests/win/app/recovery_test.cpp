// The recovery copy on a real window: copies left by instances that are gone are offered in
// turn, nothing done before the answer removes them, and an ended copy keeper does nothing.

#include "document_window.h"

#include "app/recovery.h"
#include "app/recovery_format.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

const std::wstring kQuestion = L"The program did not end normally last time.\r\nDo you want to "
                               L"restore the unsaved changes ";

class RecoveryCopies : public DocumentWindowTest {
protected:
    // A copy left by an instance that is gone, written `age` minutes ago.
    void leave(const std::wstring& id, const std::wstring& path, const std::wstring& text,
               int age = 0) {
        const std::wstring name = copies.file(id + L".recovery");
        ASSERT_TRUE(testing_files::writeBytes(name, app::encodeRecoveryCopy(path, text)));
        HANDLE file = CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER when{{now.dwLowDateTime, now.dwHighDateTime}};
        when.QuadPart -= static_cast<ULONGLONG>(age) * 60 * 10'000'000;
        const FILETIME written{when.LowPart, when.HighPart};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
        CloseHandle(file);
    }
    // Starts a copy keeper as the program's start does, does `meanwhile` as a command queued
    // before the loop would, and lets the loop run until every question it asks is answered.
    std::unique_ptr<app::Recovery> start(DialogDriver& dialogs, std::size_t questions,
                                         const std::function<void()>& meanwhile = {}) {
        auto recovery = std::make_unique<app::Recovery>(*form, record->document, copies.path());
        record->document.recovery = recovery.get();
        recovery->offerLeftCopies();
        if (meanwhile)
            meanwhile();
        pumpUntil([&] { return dialogs.seen().size() >= questions && !recovery->offering(); });
        return recovery;
    }
    template <class Condition>
    static void pumpUntil(Condition condition, DWORD timeoutMs = 5000) {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        do {
            testing_gui::pump();
            Sleep(10);
        } while (!condition() && GetTickCount64() < end);
        testing_gui::pump();
    }
    // The copies in the folder, as (path, text) pairs, however they are named.
    std::vector<app::RecoveryCopy> copiesLeft() const {
        std::vector<app::RecoveryCopy> found;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(copies.file(L"*.recovery").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return found;
        do {
            if (auto copy = app::decodeRecoveryCopy(bytesOf(copies.file(data.cFileName))))
                found.push_back(*copy);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return found;
    }
    void TearDown() override {
        record->document.recovery = nullptr;
        DocumentWindowTest::TearDown();
    }

    testing_files::TempFolder copies;
};

} // namespace

TEST_F(RecoveryCopies, ACommandQueuedBeforeTheQuestionLeavesTheOfferedCopyAlone) {
    leave(L"gone", L"", L"left text");
    DialogDriver dialogs;
    dialogs.press(IDYES);
    // Ctrl+N given during the start reaches the window before the question does.
    auto recovery = start(dialogs, 1, [&] { record->newCommand(); });
    const std::vector<testing_gui::SeenDialog> seen = dialogs.finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].isProgramBox(kQuestion + L"of the untitled document ?", {IDYES, IDNO}));
    EXPECT_EQ(text(), L"left text");
    EXPECT_TRUE(record->document.modified());
    recovery->end();
}

TEST_F(RecoveryCopies, ACopyWrittenBeforeTheAnswerKeepsTheInstancesOwnText) {
    leave(L"gone", L"", L"left text");
    DialogDriver dialogs;
    dialogs.press(IDNO);
    app::Recovery* keeper = nullptr;
    // Typing queued before the question: its copy is the instance's own, under its own name.
    auto recovery = start(dialogs, 1, [&] {
        keeper = record->document.recovery;
        type(L"own text");
        keeper->takeCopy();
        keeper->waitForWriter();
    });
    ASSERT_EQ(dialogs.finish().size(), 1u);
    const std::vector<app::RecoveryCopy> left = copiesLeft();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].text, L"own text");
    EXPECT_FALSE(testing_files::exists(copies.file(L"gone.recovery")));
    recovery->end();
}

TEST_F(RecoveryCopies, EveryLeftCopyIsOfferedInTurnAndARestoreLeavesTheRestForTheNextStart) {
    leave(L"older", L"C:\\older.txt", L"older text", 10);
    leave(L"newer", L"", L"newer text", 1);
    leave(L"newest", L"C:\\newest.txt", L"newest text");
    {
        DialogDriver dialogs;
        dialogs.press(IDNO).press(IDYES);
        auto recovery = start(dialogs, 2);
        const std::vector<testing_gui::SeenDialog> seen = dialogs.finish();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_TRUE(seen[0].isProgramBox(
            kQuestion + L"of\r\nC:\\newest.txt ?\r\n\r\nThe unsaved changes of 2 more documents "
                        L"were left as well. They are offered in turn; if you restore these, at "
                        L"the next start.",
            {IDYES, IDNO}));
        EXPECT_TRUE(seen[1].isProgramBox(
            kQuestion + L"of the untitled document ?\r\n\r\nThe unsaved changes of one more "
                        L"document were left as well. They are offered next; if you restore "
                        L"these, at the next start.",
            {IDYES, IDNO}));
        EXPECT_EQ(text(), L"newer text");
        EXPECT_FALSE(testing_files::exists(copies.file(L"newest.recovery")));
        // The restored copy goes on under its own name, marked until a later change is copied.
        EXPECT_TRUE(testing_files::exists(copies.file(L"newer.restoring")));
        EXPECT_TRUE(testing_files::exists(copies.file(L"older.recovery")));
        recovery->end();
        record->document.recovery = nullptr;
    }
    // The next start offers the one not asked about, without a word of more.
    record->document.clear();
    DialogDriver dialogs;
    dialogs.press(IDYES);
    auto recovery = start(dialogs, 1);
    const std::vector<testing_gui::SeenDialog> seen = dialogs.finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].isProgramBox(kQuestion + L"of\r\nC:\\older.txt ?", {IDYES, IDNO}));
    EXPECT_EQ(text(), L"older text");
    EXPECT_EQ(record->document.fileName(), L"C:\\older.txt");
    recovery->end();
}

TEST_F(RecoveryCopies, AfterTheEndNothingIsCopiedOrDiscarded) {
    auto* recovery = new app::Recovery(*form, record->document, copies.path());
    record->document.recovery = recovery;
    recovery->end();
    // A change, a save and a copy due after the end (the window still gets messages while it
    // closes) find no writer: they must not leave work for it.
    type(L"after the end");
    recovery->discard();
    pumpUntil([] { return false; }, 2600);
    std::atomic<bool> done = false;
    std::thread waiter([&] {
        recovery->waitForWriter();
        done = true;
    });
    pumpUntil([&] { return done.load(); }, 3000);
    if (!done) {
        // The waiter never returns: the keeper and its thread are left to the process's end.
        waiter.detach();
        record->document.recovery = nullptr;
        FAIL() << "work was left for a writer that has stopped";
    }
    waiter.join();
    EXPECT_TRUE(copiesLeft().empty());
    EXPECT_EQ(copies.entryCount(), 0);
    record->document.recovery = nullptr;
    delete recovery;
}
