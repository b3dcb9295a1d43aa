// The recovery copy as a user meets it: typed text survives a killed program, the next start
// offers it once, a saved or discarded document or a normal exit leaves nothing to offer, two
// instances never take each other's copy, the copies of two killed instances are offered in
// turn, and a copy whose restore ended the program is kept as a document instead of being
// loaded again.

#include "scenario.h"

#include "app/recovery_format.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

const std::wstring kLetter = L"\x0633\x0644\x0627\x0645"; // s l a m
const wchar_t kQuestion[] = L"The program did not end normally last time.\r\nDo you want to "
                            L"restore the unsaved changes ";

} // namespace

class Recovery : public Scenario {
protected:
    std::wstring appData() const { return e2e::localAppData(folder.path()); }
    std::wstring recoveryFolder() const { return appData() + L"Dawatik\\Recovery\\"; }

    std::vector<std::wstring> files(const wchar_t* pattern) const {
        return namesIn(recoveryFolder(), pattern);
    }

    // Waits until the one copy in the folder holds `text` (and `path`).
    ::testing::AssertionResult waitForCopy(const std::wstring& text,
                                           const std::wstring& path = {}) const {
        std::string seen = "<no copy>";
        if (e2e::waitFor([&] {
                const auto names = files(L"*.recovery");
                if (names.size() != 1)
                    return false;
                seen = testing_files::readBytes(recoveryFolder() + names[0]);
                const auto copy = app::decodeRecoveryCopy(seen);
                return copy && copy->text == text && copy->path == path;
            }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the copy holds " << ::testing::PrintToString(seen);
    }

    ::testing::AssertionResult waitForNoCopy() const {
        if (e2e::waitFor([&] { return files(L"*.recovery").empty(); }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "a copy is still there";
    }

    // The user's local application data folder, as the driver makes it at each start.
    void makeAppData() const {
        CreateDirectoryW((folder.path() + L"AppData").c_str(), nullptr);
        CreateDirectoryW(appData().c_str(), nullptr);
    }

    // A copy as an instance that is gone leaves it: no lock beside it.
    void leaveCopy(const std::wstring& path, const std::wstring& text) const {
        makeAppData();
        CreateDirectoryW((appData() + L"Dawatik").c_str(), nullptr);
        CreateDirectoryW(recoveryFolder().c_str(), nullptr);
        ASSERT_TRUE(testing_files::writeBytes(recoveryFolder() + L"00000010-0123.recovery",
                                              app::encodeRecoveryCopy(path, text)));
    }

    // Waits for the question about a left copy; `what` ends it.
    static e2e::Dialog expectRestoreQuestion(const e2e::Program& program,
                                             const std::wstring& what) {
        e2e::Dialog box = program.waitForDialog();
        EXPECT_NE(box.window, nullptr) << "no question came";
        EXPECT_EQ(box.caption, L"Dawatik 1.4");
        EXPECT_EQ(box.text, kQuestion + what + L" ?");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        // Asked with the window shown behind it.
        EXPECT_TRUE(IsWindowVisible(program.main()));
        return box;
    }

    // The started program offers the copy of `what`; Yes puts its `text` in.
    static void restoreOffered(const e2e::Program& program, const std::wstring& what,
                               const std::wstring& text) {
        ASSERT_TRUE(program.started());
        const e2e::Dialog box = expectRestoreQuestion(program, what);
        ASSERT_TRUE(e2e::Program::answer(box, IDYES));
        ASSERT_TRUE(program.waitForText(text));
    }

    static void expectNoQuestion(const e2e::Program& program) {
        const e2e::Dialog box = program.waitForDialog(2500);
        EXPECT_EQ(box.window, nullptr) << "asked: " << ::testing::PrintToString(box.text);
    }

    // The next start asks nothing and shows an empty document.
    void expectNothingOffered() const {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        expectNoQuestion(program);
        EXPECT_EQ(program.editText(), L"");
    }

    // A file where the program's folder would go: no copy can be written until it goes.
    std::wstring blocker() const { return appData() + L"Dawatik"; }
    void blockCopies() const {
        makeAppData();
        ASSERT_TRUE(testing_files::writeBytes(blocker(), "x"));
    }

    // Closes the program as the user does; `changed` answers No to the unsaved-changes question.
    void closeNormally(e2e::Program& program, bool changed) const {
        PostMessageW(program.main(), WM_CLOSE, 0, 0);
        if (changed) {
            const e2e::Dialog box = expectChangedQuestion(program);
            ASSERT_TRUE(e2e::Program::answer(box, IDNO));
        }
        ASSERT_EQ(program.waitForExit(), 0);
    }
};

TEST_F(Recovery, AKilledProgramGivesItsTypedTextBackAsAModifiedDocument) {
    {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        ASSERT_TRUE(program.typeIntoText(L"slam", kLetter));
        // Written a moment after typing pauses.
        ASSERT_TRUE(waitForCopy(kLetter));
        EXPECT_EQ(files(L"*.lock").size(), 1u);
        program.kill();
    }
    e2e::Program program(folder.path());
    ASSERT_NO_FATAL_FAILURE(restoreOffered(program, L"of the untitled document", kLetter));
    EXPECT_EQ(files(L"*.restoring").size(), 1u);
    // Worked in, the text is copied as any other, and the restore mark goes.
    ASSERT_TRUE(program.caretToEnd());
    program.type(L"k");
    EXPECT_TRUE(waitForCopy(kLetter + L"\x0643"));
    EXPECT_TRUE(files(L"*.restoring").empty());
    // Unsaved still: closing asks, and after No nothing is left to offer.
    ASSERT_NO_FATAL_FAILURE(closeNormally(program, true));
    EXPECT_TRUE(files(L"*.*").empty());
    expectNothingOffered();
}

TEST_F(Recovery, ACopyOfASavedDocumentComesBackUnderItsPathUntilSaved) {
    const std::wstring document = folder.file(L"letter.txt");
    ASSERT_TRUE(testing_files::writeBytes(document, testing_files::marked(L"old\r\n")));
    const std::wstring text = L"old\r\nnew \x0645";
    ASSERT_NO_FATAL_FAILURE(leaveCopy(document, text));
    e2e::Program program(folder.path());
    ASSERT_NO_FATAL_FAILURE(restoreOffered(program, L"of\r\n" + document, text));
    EXPECT_TRUE(program.waitForStatus(L" " + document));
    // Not saved until the user saves: then into the old path without a dialog, and the copy
    // goes.
    EXPECT_EQ(testing_files::readBytes(document), testing_files::marked(L"old\r\n"));
    program.press('S', true);
    ASSERT_TRUE(waitForFile(document, testing_files::marked(text)));
    EXPECT_TRUE(program.noDialog());
    EXPECT_TRUE(waitForNoCopy());
    EXPECT_TRUE(files(L"*.restoring").empty());
}

TEST_F(Recovery, SavingOrExitingNormallyLeavesNothingToOffer) {
    {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        ASSERT_TRUE(program.typeIntoText(L"slam", kLetter));
        ASSERT_TRUE(waitForCopy(kLetter));
        // Saved: the copy goes.
        const std::wstring document = folder.file(L"letter.txt");
        program.press('S', true);
        ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, document));
        ASSERT_TRUE(waitForFile(document, testing_files::marked(kLetter)));
        EXPECT_TRUE(waitForNoCopy());
        // Changed again and the change discarded at exit: the copy goes with the program.
        program.type(L"k");
        ASSERT_TRUE(waitForCopy(kLetter + L"\x0643", document));
        ASSERT_NO_FATAL_FAILURE(closeNormally(program, true));
        EXPECT_TRUE(files(L"*.*").empty());
    }
    expectNothingOffered();
}

TEST_F(Recovery, ACopyOfARunningInstanceIsLeftAloneAndOfferedOnceItIsGone) {
    e2e::Program first(folder.path());
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(first.typeIntoText(L"slam", kLetter));
    ASSERT_TRUE(waitForCopy(kLetter));
    {
        e2e::Program second(folder.path());
        ASSERT_TRUE(second.started());
        expectNoQuestion(second);
        EXPECT_TRUE(waitForCopy(kLetter));
        ASSERT_NO_FATAL_FAILURE(closeNormally(second, false));
    }
    EXPECT_TRUE(waitForCopy(kLetter));
    // Once its instance is gone, the copy is offered; No deletes it.
    first.kill();
    {
        e2e::Program third(folder.path());
        ASSERT_TRUE(third.started());
        const e2e::Dialog box = expectRestoreQuestion(third, L"of the untitled document");
        ASSERT_TRUE(e2e::Program::answer(box, IDNO));
        EXPECT_TRUE(waitForNoCopy());
        EXPECT_EQ(third.editText(), L"");
        ASSERT_NO_FATAL_FAILURE(closeNormally(third, false));
    }
    expectNothingOffered();
}

TEST_F(Recovery, AnOfferLeftWithoutYesOrNoKeepsTheCopyForTheNextStart) {
    ASSERT_NO_FATAL_FAILURE(leaveCopy(L"", kLetter));
    {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        const e2e::Dialog box = expectRestoreQuestion(program, L"of the untitled document");
        // A close from the task list waits for the answer.
        PostMessageW(program.main(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(e2e::waitFor([&] { return !IsWindow(box.window); }, 1500));
        ASSERT_TRUE(program.running());
        // Alt+F4 closes the box itself under Wine, with neither answer.
        program.press(VK_F4, false, true);
        ASSERT_TRUE(e2e::waitFor([&] { return !IsWindow(box.window); }));
        EXPECT_EQ(program.editText(), L"");
        // Typing meanwhile is copied beside the left copy, not over it.
        ASSERT_TRUE(program.typeIntoText(L"k", L"\x0643"));
        EXPECT_TRUE(e2e::waitFor([&] { return files(L"*.recovery").size() == 2; }));
        ASSERT_NO_FATAL_FAILURE(closeNormally(program, true));
    }
    e2e::Program program(folder.path());
    ASSERT_NO_FATAL_FAILURE(restoreOffered(program, L"of the untitled document", kLetter));
}

TEST_F(Recovery, ACopyWhoseRestoreEndedTheProgramIsKeptAsADocument) {
    // A line starting with a mark before a letter: Wine 8's edit field faults on it.
    const std::wstring crashing = L"\x064E\x0628\r\n";
    const std::wstring document = folder.file(L"marks.txt");
    ASSERT_NO_FATAL_FAILURE(leaveCopy(document, crashing));
    {
        // Marked as being restored: the field holds the text, not yet clicked into.
        e2e::Program program(folder.path());
        ASSERT_NO_FATAL_FAILURE(restoreOffered(program, L"of\r\n" + document, crashing));
        EXPECT_EQ(files(L"*.restoring").size(), 1u);
        EXPECT_TRUE(files(L"*.recovery").empty());
        program.click(program.edit());
        if (program.waitForExit(5000) == -1)
            GTEST_SKIP() << "this platform's edit field takes the text: nothing ended the program";
    }
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    const e2e::Dialog box = program.waitForDialog();
    ASSERT_NE(box.window, nullptr) << "nothing was told";
    EXPECT_EQ(box.caption, L"Dawatik 1.4");
    const std::wstring told = L"The unsaved changes of\r\n" + document +
                              L"\r\ncould not be restored: the program ended while putting them "
                              L"back.\r\nThey were kept as a document in\r\n";
    ASSERT_EQ(box.text.substr(0, told.size()), told);
    const std::wstring kept = box.text.substr(told.size());
    EXPECT_EQ(kept.substr(0, recoveryFolder().size()), recoveryFolder());
    EXPECT_EQ(testing_files::readBytes(kept), testing_files::marked(crashing));
    ASSERT_TRUE(e2e::Program::answer(box, IDOK));
    // Not loaded, and nothing left to offer again.
    EXPECT_EQ(program.editText(), L"");
    EXPECT_TRUE(files(L"*.restoring").empty());
    EXPECT_TRUE(files(L"*.recovery").empty());
}

TEST_F(Recovery, AFailedCopyIsToldOnceInTheStatusBarAndTypingGoesOn) {
    ASSERT_NO_FATAL_FAILURE(blockCopies());
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.typeIntoText(L"slam", kLetter));
    EXPECT_TRUE(program.waitForStatus(L" The recovery copy could not be written"));
    // Typing goes on meanwhile.
    program.type(L"k");
    EXPECT_TRUE(program.waitForText(kLetter + L"\x0643"));
    // Told once: a new document's failing copies leave its empty status alone.
    program.press('N', true);
    const e2e::Dialog box = expectChangedQuestion(program);
    ASSERT_TRUE(e2e::Program::answer(box, IDNO));
    ASSERT_TRUE(program.waitForStatus(L""));
    program.type(L"slam");
    ASSERT_TRUE(program.waitForText(kLetter));
    Sleep(3000);
    EXPECT_EQ(program.statusText(), L"");
}

TEST_F(Recovery, TheStatusBarComesBackOnceACopyIsWrittenAgain) {
    // The folder cannot be made at first, then it can.
    ASSERT_NO_FATAL_FAILURE(blockCopies());
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    const std::wstring greeting = program.statusText();
    ASSERT_TRUE(program.typeIntoText(L"slam", kLetter));
    ASSERT_TRUE(program.waitForStatus(L" The recovery copy could not be written"));
    ASSERT_TRUE(DeleteFileW(blocker().c_str()));
    program.type(L"k");
    EXPECT_TRUE(waitForCopy(kLetter + L"\x0643"));
    EXPECT_TRUE(program.waitForStatus(greeting));
}

TEST_F(Recovery, TheCopiesOfTwoKilledInstancesAreOfferedInTurn) {
    {
        // One instance's copy, then another's beside it.
        std::vector<std::unique_ptr<e2e::Program>> programs;
        for (const auto& [keys, shown] : {std::pair{L"slam", kLetter}, {L"k", L"\x0643"}}) {
            programs.push_back(std::make_unique<e2e::Program>(folder.path()));
            ASSERT_TRUE(programs.back()->started());
            ASSERT_TRUE(programs.back()->typeIntoText(keys, shown));
            ASSERT_TRUE(
                e2e::waitFor([&] { return files(L"*.recovery").size() == programs.size(); }));
        }
        for (const auto& program : programs)
            program->kill();
    }
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    // The newer copy first, saying that one more follows.
    e2e::Dialog box = program.waitForDialog();
    ASSERT_NE(box.window, nullptr) << "no question came";
    EXPECT_EQ(box.text, kQuestion + std::wstring(L"of the untitled document ?\r\n\r\nThe unsaved "
                                                 L"changes of one more document were left as "
                                                 L"well. They are offered next; if you restore "
                                                 L"these, at the next start."));
    ASSERT_TRUE(e2e::Program::answer(box, IDNO));
    ASSERT_NO_FATAL_FAILURE(restoreOffered(program, L"of the untitled document", kLetter));
    EXPECT_TRUE(files(L"*.recovery").empty());
    EXPECT_EQ(files(L"*.restoring").size(), 1u);
}
