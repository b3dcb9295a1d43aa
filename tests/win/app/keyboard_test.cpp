#include "app/Unit1.h"
#include "controls/edit.h"
#include "support/shared_form.h"

#include <gtest/gtest.h>

#include <string>

using namespace ctl;

namespace {

// A shown form with a multi-line edit field wired to the keyboard map as the main window's is,
// fed the messages a keyboard sends to the focused edit field.
class Typing : public testing_gui::SharedFormTest {
protected:
    void SetUp() override {
        record = new app::MainWindow(); // released after the test
        useEdit(newEdit(form(), editopt::kMultiLine | editopt::kNoHorizontalScroll));
    }
    void TearDown() override {
        SharedFormTest::TearDown(); // the edit goes first: its handlers use the record
        record->release();
    }
    // Types into `field` from now on, wired to the keyboard map and focused.
    void useEdit(Control* field) {
        edit = field;
        edit->setBounds({0, 0, 300, 200});
        app::MainWindow* keys = record;
        edit->setOnChar({[keys](Control& sender, wchar_t& c, ShiftState shift) {
            keys->onCharTyped(sender, c, shift);
        }});
        edit->setOnKeyUp({[keys](Control& sender, KeyCode& key, ShiftState shift) {
            keys->onKeyReleased(sender, key, shift);
        }});
        edit->createWindow();
        SetFocus(edit->handle());
        testing_gui::pump();
        ASSERT_EQ(GetFocus(), edit->handle());
    }

    void down(WPARAM key) { SendMessageW(edit->handle(), WM_KEYDOWN, key, 1); }
    void up(WPARAM key) { SendMessageW(edit->handle(), WM_KEYUP, key, 0xC0000001); }
    void character(wchar_t c, int repeat = 1) { SendMessageW(edit->handle(), WM_CHAR, c, repeat); }
    // One key press giving `c`; `key` is the virtual key (letters: the capital).
    void press(WPARAM key, wchar_t c) {
        down(key);
        character(c);
        up(key);
    }
    // Plays `keys`: each character is a key press giving it, but [ and ] press and release
    // Shift, and < and > tap Left and Right.
    void play(std::wstring_view keys) {
        for (wchar_t c : keys) {
            if (c == L'[' || c == L']')
                (c == L'[' ? down(VK_SHIFT) : up(VK_SHIFT));
            else if (c == L'<' || c == L'>')
                tap(c == L'<' ? VK_LEFT : VK_RIGHT);
            else
                press(c == L'~' ? VK_OEM_3 : static_cast<WPARAM>(towupper(c)), c);
        }
    }
    void tap(WPARAM key) {
        down(key);
        up(key);
    }
    std::wstring text() { return edit->text(); }
    // An empty document in a freshly started editor.
    void restart() {
        edit->setText(L"");
        record->previousKey = 0;
    }
    DWORD caret() {
        DWORD start = 0;
        SendMessageW(edit->handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        return start;
    }
    void select(DWORD start, DWORD end) { SendMessageW(edit->handle(), EM_SETSEL, start, end); }
    void clickAt(DWORD position) {
        const LRESULT at = SendMessageW(edit->handle(), EM_POSFROMCHAR, position, 0);
        const LPARAM point = MAKELPARAM(LOWORD(at), HIWORD(at) + 2);
        SendMessageW(edit->handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(edit->handle(), WM_LBUTTONUP, 0, point);
    }

    Control* edit = nullptr;
    app::MainWindow* record = nullptr;
};

} // namespace

TEST_F(Typing, SecondKeyCombinesUnlessTheReleaseOfAnEditingOrShiftKeyEndedIt) {
    const struct {
        std::wstring_view keys;
        std::wstring_view text;
    } cases[] = {
        {L"salam", L"\x0633\x0627\x0644\x0627\x0645"},
        {L"ee", L"\x064B"},
        {L"beee", L"\x0628\x064B"}, // the repeated e replaces its own combination
        {L"e e", L"\x064E \x064E"},
        {L"e<>e", L"\x064E\x064E"},
        // Only the release of Shift ends a combination, after the tilde.
        {L"a[~]", L"\x0622"},
        {L"[II]", L"\x0656"},
        {L"[I][I]", L"\x0625\x0625"},
    };
    for (const auto& c : cases) {
        restart();
        play(c.keys);
        EXPECT_EQ(text(), c.text) << testing::PrintToString(std::wstring(c.keys));
        EXPECT_EQ(caret(), c.text.size()) << testing::PrintToString(std::wstring(c.keys));
    }
}

TEST_F(Typing, CombinationDeletesOnlyWhatTheFirstKeyLeftBeforeTheCaret) {
    // The caret moved by a click.
    edit->setText(L"BR");
    select(2, 2);
    play(L"e");
    clickAt(1);
    ASSERT_EQ(caret(), 1u);
    play(L"e");
    EXPECT_EQ(text(), L"B\x064ER\x064E");

    // The text replaced.
    restart();
    play(L"e");
    edit->setText(L"new text");
    select(8, 8);
    play(L"e");
    EXPECT_EQ(text(), L"new text\x064E");

    // Replaced by an empty document: at the start there is nothing to delete by mistake, so
    // the combination stands.
    play(L"u");
    edit->setText(L"");
    play(L"u");
    EXPECT_EQ(text(), L"\x064C");

    // Over a selection only the selection goes.
    edit->setText(L"BR");
    select(2, 2);
    play(L"i");
    select(0, 1);
    play(L"i");
    EXPECT_EQ(text(), L"\x064DR\x0650");
}

TEST_F(Typing, CombinationAcrossAWrappedLineBreak) {
    // One long word wraps inside the narrow field; type at the start of the second line.
    edit->setBounds({0, 0, 80, 200});
    edit->setText(std::wstring(60, L'B'));
    const auto secondLine = static_cast<DWORD>(SendMessageW(edit->handle(), EM_LINEINDEX, 1, 0));
    ASSERT_GT(secondLine, 0u);
    select(secondLine, secondLine);
    play(L"ee");
    std::wstring expected(60, L'B');
    expected.insert(secondLine, 1, L'\x064B');
    EXPECT_EQ(text(), expected);
}

TEST_F(Typing, RepeatCountInsertsTheMappedCharacterSoManyTimes) {
    down('S');
    character(L's', 3);
    up('S');
    EXPECT_EQ(text(), L"\x0633\x0633\x0633");
}

TEST_F(Typing, UndoRemovesATypedCharacter) {
    edit->setText(L"B");
    select(1, 1);
    SendMessageW(edit->handle(), EM_EMPTYUNDOBUFFER, 0, 0);
    play(L"s");
    ASSERT_EQ(text(), L"B\x0633");
    EXPECT_TRUE(SendMessageW(edit->handle(), EM_UNDO, 0, 0));
    EXPECT_EQ(text(), L"B");
}

TEST_F(Typing, LongDocumentStillAcceptsTypedCharacters) {
    std::wstring document;
    while (document.size() < 40000)
        document += std::wstring(70, L'B') + L"\r\n";
    edit->setText(document);
    const auto end = static_cast<DWORD>(document.size());
    select(end, end);
    play(L"see");
    EXPECT_EQ(text(), document + L"\x0633\x064B");
}

TEST_F(Typing, CombinationAtTheEndOfAVeryLongUnwrappedLine) {
    useEdit(newEdit(form(), editopt::kMultiLine));
    const std::wstring line(70000, L'B');
    edit->setText(line);
    select(static_cast<DWORD>(line.size()), static_cast<DWORD>(line.size()));
    play(L"ee");
    const std::wstring typed = text();
    EXPECT_EQ(typed.size(), line.size() + 1);
    EXPECT_EQ(typed.back(), L'\x064B');
    EXPECT_EQ(typed[line.size() - 1], L'B');
}
