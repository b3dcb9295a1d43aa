// Typing on the keyboard through the keyboard map, the editing shortcuts and toolbar buttons,
// and the text-size keys.

#include "scenario.h"

using Typing = Scenario;

TEST_F(Typing, LatinKeysBecomeArabicTwoKeysCombineAndAltWithALetterTypesNothing) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    program.click(program.edit());

    // a ~: alef with madda; e e: fathatan; u u: dammatan; i i: kasratan; e e e stays fathatan;
    // a space between the keys combines nothing; Shift gives the capital letter's row.
    program.type(L"sa~ee buu bii beee e e ET\nslam");
    const std::wstring combined = L"\x0633\x0622\x064B \x0628\x064C \x0628\x064D \x0628\x064B "
                                  L"\x064E \x064E \x0623\x0629\r\n\x0633\x0644\x0627\x0645";
    EXPECT_TRUE(program.waitForText(combined));

    // Backspace ends a combination: the second e is a fatha of its own.
    program.type(L" te");
    program.press(VK_BACK);
    program.type(L"e");
    const std::wstring typed = combined + L" \x062A\x064E";
    EXPECT_TRUE(program.waitForText(typed));
    EXPECT_EQ(program.title(), L"Dawatik 1.4");

    // Alt+E right after e is a menu key, not a second e that would combine with the first; the
    // menus have no E to open, so nothing happens at all.
    program.press('E', false, true);
    program.press('B', false, true);
    EXPECT_EQ(program.editText(), typed);
    program.type(L"b");
    EXPECT_TRUE(program.waitForText(typed + L"\x0628"));
}

TEST_F(Typing, EditingShortcutsButtonsAndTextSizeKeys) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.typeIntoText(L"ktb", L"\x0643\x062A\x0628"));

    // Ctrl+A, then the toolbar's Cut and Paste buttons.
    program.press('A', true);
    program.clickButton(app::toolbarEntryOf(app::Command::Cut));
    EXPECT_TRUE(program.waitForText(L""));
    program.clickButton(app::toolbarEntryOf(app::Command::Paste));
    program.clickButton(app::toolbarEntryOf(app::Command::Paste));
    EXPECT_TRUE(program.waitForText(L"\x0643\x062A\x0628\x0643\x062A\x0628"));

    // Typing over a selection replaces it.
    program.click(program.edit());
    program.press('A', true);
    program.type(L"m");
    EXPECT_TRUE(program.waitForText(L"\x0645"));

    // The size keys are the keypad's, pressed in the text: a layout may give the keypad's + and
    // - a character with Ctrl held, and the text must not get it. Normal is for the moment
    // only, the stored size stays.
    EXPECT_EQ(program.sizeText(), L"72");
    program.press(VK_ADD, true);
    EXPECT_TRUE(e2e::waitFor([&] { return program.sizeText() == L"74"; }));
    EXPECT_TRUE(e2e::waitFor([&] { return setting(L"FontSize") == L"74"; }));
    program.press(VK_SUBTRACT, true);
    program.press(VK_SUBTRACT, true);
    EXPECT_TRUE(e2e::waitFor([&] { return program.sizeText() == L"70"; }));
    EXPECT_TRUE(e2e::waitFor([&] { return setting(L"FontSize") == L"70"; }));
    program.press('0', true);
    EXPECT_TRUE(e2e::waitFor([&] { return program.sizeText() == L"26"; }));
    EXPECT_EQ(setting(L"FontSize"), L"70");
    EXPECT_EQ(program.editText(), L"\x0645");

    // Cut and Copy in the size box, with the whole text selected: the size's digits selected
    // in the box, copied, then cut, leave the document alone.
    program.press('A', true);
    program.click(program.fontSizeBox());
    program.press(VK_END);
    program.press(VK_HOME, false, false, true);
    program.press('C', true);
    program.press('X', true);
    EXPECT_TRUE(e2e::waitFor([&] { return program.sizeText().empty(); }))
        << testing::PrintToString(program.sizeText());
    EXPECT_EQ(program.editText(), L"\x0645");

    // What the clipboard holds is the box's text.
    program.click(program.edit());
    program.press(VK_END, true);
    program.press('V', true);
    EXPECT_TRUE(program.waitForText(L"\x0645"
                                    L"26"));
}
