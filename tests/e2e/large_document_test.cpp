// A document of 2 MB opened through the Open dialog: it shows while it arrives, the window
// answers, what the user asks for meanwhile waits for the whole text, and a close ends it.

#include "scenario.h"

#include <functional>

namespace {

class LargeDocument : public Scenario {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing_files::writeBytes(path, testing_files::marked(text)));
    }

    // 2 MB of Arabic words in lines of about 60 code units, a surrogate pair on every line, and
    // line breaks as the program shows them.
    static std::wstring largeText() {
        const std::wstring words[] = {L"\x0643\x062A\x0628", L"\x0633\x0644\x0627\x0645",
                                      L"\x0628\x064A\x062A", L"\x0642\x0644\x0645"};
        std::wstring text;
        for (std::size_t line = 0; text.size() < 1024 * 1024 - 1; ++line) {
            text += std::to_wstring(line) + L" \xD83D\xDCD6";
            for (std::size_t word = 0; word < 12; ++word)
                text += L' ' + words[(line + word) % 4];
            text += L"\r\n";
        }
        return text;
    }

    std::wstring text = largeText();
    const std::wstring path = folder.file(L"large.txt");

    // Opens the large file with Ctrl+O and its dialog, and follows the load until the status bar
    // shows the path: whether part of the text was seen while the rest arrived, and whether the
    // window answered every time it was asked.
    struct Followed {
        bool sawPart = false;
        bool alwaysAnswered = true;
        bool ended = false;
        // The status bar said the field was laying out a long paragraph.
        bool toldParagraph = false;
    };
    // `meanwhile` is what the user does once the first lines show.
    Followed openAndFollow(const e2e::Program& program,
                           const std::function<void()>& meanwhile = {}) {
        program.press('O', true);
        chooseInFileDialog(program, path);
        Followed seen;
        bool typed = false;
        const auto length = static_cast<LRESULT>(text.size());
        seen.ended = e2e::waitFor(
            [&] {
                DWORD_PTR shown = 0;
                seen.alwaysAnswered &= SendMessageTimeoutW(program.edit(), WM_GETTEXTLENGTH, 0, 0,
                                                           SMTO_ABORTIFHUNG, 5000, &shown) != 0;
                const std::wstring status = program.statusText();
                seen.toldParagraph |= status.ends_with(L", laying out a long paragraph");
                if (!seen.sawPart && status.starts_with(L" Opening \x2026 ") && shown > 0 &&
                    static_cast<LRESULT>(shown) < length) {
                    // The first lines are the file's, whole.
                    const std::wstring start = program.editText().substr(0, 200);
                    seen.sawPart |= text.starts_with(start) && !start.empty();
                    if (!typed && seen.sawPart && meanwhile) {
                        typed = true;
                        meanwhile();
                    }
                }
                return status == L" " + path;
            },
            120000);
        return seen;
    }

    // The load ended with the file's text, showing its first lines before the rest, and the
    // window answered every time it was asked.
    void expectArrivedWhole(const Followed& seen, const e2e::Program& program) const {
        ASSERT_TRUE(seen.ended) << "the load did not end; the status bar shows "
                                << testing::PrintToString(program.statusText());
        EXPECT_TRUE(seen.sawPart) << "the first lines did not show before the rest";
        EXPECT_TRUE(seen.alwaysAnswered);
        EXPECT_TRUE(program.editText() == text) << "the text is not the file's";
    }
};

// A book's paragraphs, each one line of thousands of units: the field lays a line out in a time
// that grows with the square of its length.
class LongParagraphs : public LargeDocument {
protected:
    LongParagraphs() {
        const std::wstring words[] = {L"\x0643\x062A\x0628", L"\x0633\x0644\x0627\x0645",
                                      L"\x0628\x064A\x062A"};
        text.clear();
        for (int paragraph = 0; paragraph < 2; ++paragraph) {
            for (std::size_t word = 0; word < 5000; ++word)
                text += words[word % 3] + L' ';
            text += L"\r\n";
        }
    }
};

TEST_F(LongParagraphs, GoInPartsWhileTheWindowAnswersAndTheStatusBarSaysWhy) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    const Followed seen = openAndFollow(program);
    ASSERT_NO_FATAL_FAILURE(expectArrivedWhole(seen, program));
    EXPECT_TRUE(seen.toldParagraph);
    EXPECT_EQ(SendMessageW(program.edit(), EM_GETSEL, 0, 0), 0);
}

TEST_F(LargeDocument, ShowsWhileArrivingAndEndsAsTheFileWithNothingToUndo) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());

    const Followed seen = openAndFollow(program);
    ASSERT_NO_FATAL_FAILURE(expectArrivedWhole(seen, program));
    // The caret at the start, as after setting the text at once.
    EXPECT_EQ(SendMessageW(program.edit(), EM_GETSEL, 0, 0), 0);

    // Not modified: New asks no question.
    program.toFront();
    program.press('N', true);
    EXPECT_TRUE(e2e::waitFor([&] { return GetWindowTextLengthW(program.edit()) == 0; }));
    EXPECT_TRUE(program.noDialog());

    // Nothing to undo: Ctrl+Z after the same file has arrived again leaves its text.
    ASSERT_TRUE(openAndFollow(program).ended);
    program.toFront();
    ASSERT_TRUE(program.pressAndWait('Z', true));
    EXPECT_TRUE(program.editText() == text) << "Undo changed the text";
}

TEST_F(LargeDocument, KeysAndSaveGivenDuringTheLoadWaitForTheWholeText) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());

    // "b" with the caret at the start, then Ctrl+S: the letter goes before the first line once
    // all of it is there, and the save writes all of it.
    const Followed seen = openAndFollow(program, [&] {
        program.type(L"b");
        program.press('S', true);
    });
    ASSERT_TRUE(seen.ended);
    ASSERT_TRUE(seen.sawPart) << "the load ended before anything could be typed into it";
    const std::wstring typed = L"\x0628" + text;
    EXPECT_TRUE(waitForFile(path, testing_files::marked(typed)));
    EXPECT_TRUE(program.editText() == typed);
    // Saved: closing asks nothing.
    program.toFront();
    PostMessageW(program.main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitForExit(), 0);
}

TEST_F(LargeDocument, ClosingWhileItArrivesEndsTheProgramAndLeavesTheFileAlone) {
    // Posted, as the close button does, and sent, as another program may: a sent close is
    // answered between two slices.
    for (const bool sent : {false, true}) {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        program.press('O', true);
        chooseInFileDialog(program, path);
        ASSERT_TRUE(
            e2e::waitFor([&] { return program.statusText().starts_with(L" Opening \x2026 "); }));
        ASSERT_LT(static_cast<std::size_t>(GetWindowTextLengthW(program.edit())), text.size());
        if (sent) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(program.main(), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        } else {
            PostMessageW(program.main(), WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(program.waitForExit(), 0) << (sent ? "sent" : "posted");
        EXPECT_TRUE(testing_files::readBytes(path) == testing_files::marked(text));
    }
}

TEST_F(LargeDocument, WhatTheUserDoesMeanwhileActsOnTheWholeTextInTheOrderGiven) {
    // Select All before anything waits: the selection grows with the text, and the letter
    // typed after it replaces all of it.
    {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        const Followed seen = openAndFollow(program, [&] {
            program.press('A', true);
            program.type(L"b");
        });
        ASSERT_TRUE(seen.ended && seen.sawPart);
        EXPECT_TRUE(e2e::waitFor([&] { return program.editText() == L"\x0628"; }))
            << GetWindowTextLengthW(program.edit()) << " code units";
        PostMessageW(program.main(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(e2e::Program::answer(expectChangedQuestion(program), IDNO));
        ASSERT_EQ(program.waitForExit(), 0);
    }
    // A click into the text, a letter that waits, then Alt+E (a menu key), Select All and a
    // second letter: they follow the letter in turn, so only the second letter stays.
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    const Followed seen = openAndFollow(program, [&] {
        program.click(program.edit());
        program.type(L"b");
        program.press('E', false, true);
        program.press(VK_ESCAPE);
        program.press('A', true);
        program.type(L"k");
    });
    ASSERT_TRUE(seen.ended && seen.sawPart);
    EXPECT_TRUE(e2e::waitFor([&] { return program.editText() == L"\x0643"; }))
        << GetWindowTextLengthW(program.edit()) << " code units";
    EXPECT_TRUE(testing_files::readBytes(path) == testing_files::marked(text));
}

} // namespace
