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
    void typeLetters(const wchar_t* letters) {
        for (; *letters; ++letters)
            press(static_cast<WPARAM>(towupper(*letters)), *letters);
    }
    void typeShifted(WPARAM key, wchar_t c) {
        down(VK_SHIFT);
        press(key, c);
        up(VK_SHIFT);
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

TEST_F(Typing, LettersBecomeArabic) {
    typeLetters(L"salam");
    EXPECT_EQ(text(), L"\x0633\x0627\x0644\x0627\x0645");
    EXPECT_EQ(record->previousKey, L'm');
}

TEST_F(Typing, SecondKeyCombinesUnlessAReleaseEndedIt) {
    typeLetters(L"ee");
    EXPECT_EQ(text(), L"\x064B");

    restart();
    typeLetters(L"e");
    press(VK_SPACE, L' ');
    typeLetters(L"e");
    EXPECT_EQ(text(), L"\x064E \x064E");

    restart();
    typeLetters(L"e");
    down(VK_LEFT);
    up(VK_LEFT);
    down(VK_RIGHT);
    up(VK_RIGHT);
    ASSERT_EQ(caret(), 1u);
    typeLetters(L"e");
    EXPECT_EQ(text(), L"\x064E\x064E");
}

TEST_F(Typing, ShiftedCombinationsFollowTheShiftKeyRelease) {
    // a, then ~ with Shift: only the release of Shift ends a combination, after the tilde.
    typeLetters(L"a");
    typeShifted(VK_OEM_3, L'~');
    EXPECT_EQ(text(), L"\x0622");

    restart();
    down(VK_SHIFT);
    press('I', L'I');
    press('I', L'I');
    up(VK_SHIFT);
    EXPECT_EQ(text(), L"\x0656");

    restart();
    typeShifted('I', L'I');
    typeShifted('I', L'I');
    EXPECT_EQ(text(), L"\x0625\x0625");
}

TEST_F(Typing, RepeatedSecondKeyLeavesOneCombinedCharacter) {
    typeLetters(L"beee");
    EXPECT_EQ(text(), L"\x0628\x064B");
    EXPECT_EQ(caret(), 2u);
}

TEST_F(Typing, CombinationDeletesNothingAfterTheCaretMoved) {
    edit->setText(L"BR");
    SendMessageW(edit->handle(), EM_SETSEL, 2, 2);
    typeLetters(L"e");
    clickAt(1);
    ASSERT_EQ(caret(), 1u);
    typeLetters(L"e");
    EXPECT_EQ(text(), L"B\x064ER\x064E");
}

TEST_F(Typing, CombinationDeletesNothingAfterTheTextWasReplaced) {
    typeLetters(L"e");
    edit->setText(L"new text");
    SendMessageW(edit->handle(), EM_SETSEL, 8, 8);
    typeLetters(L"e");
    EXPECT_EQ(text(), L"new text\x064E");

    // Replaced by an empty document: at the start there is nothing to delete by mistake, so
    // the combination stands.
    typeLetters(L"u");
    edit->setText(L"");
    typeLetters(L"u");
    EXPECT_EQ(text(), L"\x064C");
}

TEST_F(Typing, CombinationReplacesOnlyTheSelection) {
    edit->setText(L"BR");
    SendMessageW(edit->handle(), EM_SETSEL, 2, 2);
    typeLetters(L"i");
    SendMessageW(edit->handle(), EM_SETSEL, 0, 1);
    typeLetters(L"i");
    EXPECT_EQ(text(), L"\x064DR\x0650");
}

TEST_F(Typing, CombinationAcrossAWrappedLineBreak) {
    // One long word wraps inside the narrow field; type at the start of the second line.
    edit->setBounds({0, 0, 80, 200});
    edit->setText(std::wstring(60, L'B'));
    const auto secondLine = static_cast<DWORD>(SendMessageW(edit->handle(), EM_LINEINDEX, 1, 0));
    ASSERT_GT(secondLine, 0u);
    SendMessageW(edit->handle(), EM_SETSEL, secondLine, secondLine);
    typeLetters(L"ee");
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
    SendMessageW(edit->handle(), EM_SETSEL, 1, 1);
    SendMessageW(edit->handle(), EM_EMPTYUNDOBUFFER, 0, 0);
    typeLetters(L"s");
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
    SendMessageW(edit->handle(), EM_SETSEL, end, end);
    typeLetters(L"see");
    EXPECT_EQ(text(), document + L"\x0633\x064B");
}

TEST_F(Typing, CombinationAtTheEndOfAVeryLongUnwrappedLine) {
    useEdit(newEdit(form(), editopt::kMultiLine));
    const std::wstring line(70000, L'B');
    edit->setText(line);
    SendMessageW(edit->handle(), EM_SETSEL, line.size(), line.size());
    typeLetters(L"ee");
    const std::wstring typed = text();
    EXPECT_EQ(typed.size(), line.size() + 1);
    EXPECT_EQ(typed.back(), L'\x064B');
    EXPECT_EQ(typed[line.size() - 1], L'B');
}
