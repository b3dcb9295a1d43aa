#include "controls/edit.h"
#include "controls/items.h"
#include "support/shared_form.h"

#include <string>
#include <utility>
#include <vector>

using namespace ctl;
using testing_gui::selection;
using Range = std::pair<DWORD, DWORD>;

namespace {

class EditTest : public testing_gui::SharedFormTest {
protected:
    // A focused multi-line edit whose onChar runs `replace`.
    Control* focusedEdit(EditOptions options = editopt::kMultiLine) {
        Control* edit = newEdit(form(), options);
        edit->setOnChar({[this](Control&, wchar_t& c, ShiftState) {
            seen += c;
            if (c == L'a')
                c = L'\x0627';
            else if (c == L'x')
                c = 0;
        }});
        edit->setOnChange({[this](Control&) { ++changes; }});
        edit->createWindow();
        SetFocus(edit->handle());
        return edit;
    }
    static void type(Control& edit, wchar_t c, int repeat = 1) {
        SendMessageW(edit.handle(), WM_CHAR, c, repeat);
    }

    std::wstring seen;
    int changes = 0;
};

} // namespace

TEST_F(EditTest, OptionsGiveStylesScrollBarsAndSize) {
    Control* field = newEdit(form(), editopt::kNoHorizontalScroll | editopt::kMultiLine);
    EXPECT_EQ(field->style(),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS |
                                 WS_CLIPCHILDREN | ES_AUTOVSCROLL | ES_MULTILINE));
    RECT r = field->bounds();
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 200);

    // A single-line edit never has scroll bars, but scrolls its text sideways.
    Control* line = newEdit(form(), 0);
    EXPECT_EQ(line->style() & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL),
              static_cast<DWORD>(ES_AUTOHSCROLL));
    r = line->bounds();
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 22);
}

TEST_F(EditTest, MultiLineEditTakesTextOfAnyLength) {
    // Created on demand by the first message, as well as with its form.
    Control* edit = newEdit(form(), editopt::kMultiLine);
    EXPECT_GT(edit->sendMessage(EM_GETLIMITTEXT), 1000000);

    std::wstring text;
    while (text.size() < 40000)
        text += L"0123456789012345678901234567890123456789\r\n";
    edit->setText(text);
    setSelectionStart(*edit, static_cast<int>(text.size()));
    SetFocus(edit->handle());
    type(*edit, L'z', 2);
    EXPECT_EQ(edit->text(), text + L"zz");
}

TEST_F(EditTest, TypedCharacterPassesOnCharAndReplacesTheSelectionUndoably) {
    Control* edit = focusedEdit();
    edit->setText(L"one two");
    SendMessageW(edit->handle(), EM_SETSEL, 4, 7);
    changes = 0;
    type(*edit, L'a');
    EXPECT_EQ(edit->text(), L"one \x0627");
    EXPECT_EQ(changes, 1);

    // A character taken away inserts nothing and keeps the selection.
    SendMessageW(edit->handle(), EM_SETSEL, 0, 3);
    type(*edit, L'x');
    EXPECT_EQ(edit->text(), L"one \x0627");
    EXPECT_EQ(selection(edit->handle()), Range(0, 3));

    type(*edit, L'b', 3);
    EXPECT_EQ(edit->text(), L"bbb \x0627");
    EXPECT_EQ(seen, L"axb");
    // Each insertion is a step of the edit's own undo.
    SendMessageW(edit->handle(), EM_UNDO, 0, 0);
    EXPECT_EQ(edit->text(), L"one \x0627");
}

TEST_F(EditTest, ControlCharactersReachOnCharAndTheEditItself) {
    Control* edit = focusedEdit();
    edit->setText(L"ab");
    setSelectionStart(*edit, 2);
    type(*edit, VK_BACK);
    EXPECT_EQ(edit->text(), L"a");
    type(*edit, VK_RETURN);
    EXPECT_EQ(edit->text(), L"a\r\n");
    // Tab is never typed into the text.
    type(*edit, VK_TAB);
    EXPECT_EQ(edit->text(), L"a\r\n");
    EXPECT_EQ(seen, L"\b\r\t");
}

TEST_F(EditTest, KeysOfAnEditWithoutFocusAreDropped) {
    Control* edit = focusedEdit();
    std::vector<KeyCode> released;
    edit->setOnKeyUp(
        {[&released](Control&, KeyCode& key, ShiftState) { released.push_back(key); }});
    SendMessageW(edit->handle(), WM_KEYUP, 'B', 0xC0000001);
    Control* other = newEdit(form(), 0);
    other->createWindow();
    SetFocus(other->handle());
    SendMessageW(edit->handle(), WM_KEYUP, 'C', 0xC0000001);
    EXPECT_EQ(released, std::vector<KeyCode>{'B'});
}

TEST_F(EditTest, TypingKeepsTheRulesOfReadOnlyAndDigitEdits) {
    Control* fixed = focusedEdit(editopt::kMultiLine | editopt::kReadOnly);
    fixed->setText(L"fixed");
    type(*fixed, L'b');
    EXPECT_EQ(fixed->text(), L"fixed");
    // Made read-only after creation as well.
    Control* later = focusedEdit();
    SendMessageW(later->handle(), EM_SETREADONLY, TRUE, 0);
    type(*later, L'b');
    EXPECT_EQ(later->text(), L"");

    Control* digits = focusedEdit(editopt::kDigitsOnly);
    type(*digits, L'b');
    type(*digits, L'7');
    EXPECT_EQ(digits->text(), L"7");
}

TEST_F(EditTest, ItemOperationsOnLines) {
    Control* edit = focusedEdit(editopt::kMultiLine | editopt::kNoHorizontalScroll);
    edit->setText(L"first\r\nsecond\r\nthird");
    EXPECT_EQ(itemCount(*edit), 3);
    EXPECT_EQ(itemText(*edit, 1), L"second");
    EXPECT_EQ(itemText(*edit, 2), L"third");
    EXPECT_EQ(itemText(*edit, 5), L"");

    setSelectionStart(*edit, 10);
    EXPECT_EQ(selectionStart(*edit), 10);
    EXPECT_EQ(currentIndex(*edit), 7); // start of the caret's line
    setSelectionLength(*edit, 3);
    EXPECT_EQ(selection(edit->handle()), Range(10, 13));

    setItemText(*edit, 1, L"2nd\r\n");
    EXPECT_EQ(edit->text(), L"first\r\n2nd\r\nthird");
    setItemText(*edit, 3, L"\r\nfourth");
    EXPECT_EQ(edit->text(), L"first\r\n2nd\r\nthird\r\nfourth");

    selectAll(*edit);
    EXPECT_EQ(selection(edit->handle()), Range(0, static_cast<DWORD>(edit->text().size())));
    clearItems(*edit);
    EXPECT_EQ(edit->text(), L"");

    // A line longer than one request can carry, in an edit that does not wrap.
    Control* wide = newEdit(form(), editopt::kMultiLine);
    const std::wstring longLine(70000, L'q');
    wide->setText(L"x\r\n" + longLine);
    const std::wstring got = itemText(*wide, 1);
    EXPECT_EQ(got.size(), longLine.size());
    EXPECT_TRUE(got == longLine);

    // Kinds without lines or entries.
    Control* panel = newPanel(form(), EdgeStyle::None);
    EXPECT_EQ(itemCount(*panel), 0);
    EXPECT_EQ(findItem(*panel, L"x"), -1);
    EXPECT_EQ(itemText(*panel, 0), L"");
}
