// The view settings chosen with the keyboard and the toolbar, kept in Setting.ini beside the
// program and found back at the next start.

#include "scenario.h"

using Settings = Scenario;

namespace {

void expectMarks(const e2e::Program& program, bool right, bool center) {
    const e2e::Program::Marks marks = program.alignMarks();
    ASSERT_TRUE(marks.seen) << "View > Text Align did not open";
    EXPECT_EQ(marks.right, right);
    EXPECT_EQ(marks.center, center);
}

} // namespace

TEST_F(Settings, FontSizeAndAlignmentComeBackAtTheNextStart) {
    std::wstring font;
    {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        EXPECT_EQ(program.sizeText(), L"72");
        program.click(program.edit());
        expectMarks(program, true, false);
        EXPECT_TRUE(program.buttonDown(app::toolbarEntryOf(app::Command::Right)));
        EXPECT_FALSE(program.buttonDown(app::toolbarEntryOf(app::Command::Center)));

        // View > Text Align > Center, chosen with the keyboard.
        program.chooseFromMenu(
            {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
        ASSERT_TRUE(e2e::waitFor(
            [&] { return program.buttonDown(app::toolbarEntryOf(app::Command::Center)); }));
        EXPECT_FALSE(program.buttonDown(app::toolbarEntryOf(app::Command::Right)));
        expectMarks(program, false, true);
        EXPECT_EQ(setting(L"TextAlign"), L"Center");

        // The font list by the keyboard: opened with a click, the next family with Down, taken
        // with Enter.
        const std::wstring before = program.fontText();
        program.click(program.fontNameBox());
        ASSERT_TRUE(e2e::waitFor([&] { return program.fontListOpen(); }));
        program.press(VK_DOWN);
        program.press(VK_RETURN);
        ASSERT_TRUE(e2e::waitFor([&] { return !program.fontListOpen(); }));
        ASSERT_TRUE(e2e::waitFor([&] { return program.fontText() != before; }))
            << "the family stayed " << testing::PrintToString(before);
        font = program.fontText();
        EXPECT_TRUE(e2e::waitFor([&] { return setting(L"FontName") == font; }))
            << testing::PrintToString(setting(L"FontName"));

        // The size keys, still in the font list (see
        // Typing.EditingShortcutsButtonsAndTextSizeKeys).
        program.press(VK_ADD, true);
        program.press(VK_ADD, true);
        ASSERT_TRUE(e2e::waitFor([&] { return program.sizeText() == L"76"; }));
        EXPECT_EQ(program.fontText(), font);

        // Nothing typed: the program closes without a question.
        program.click(program.edit());
        EXPECT_EQ(program.closeWithAltF4(), 0);
    }
    EXPECT_EQ(setting(L"FontName"), font);
    EXPECT_EQ(setting(L"FontSize"), L"76");
    EXPECT_EQ(setting(L"TextAlign"), L"Center");

    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.fontText(), font);
    EXPECT_EQ(program.sizeText(), L"76");
    program.click(program.edit());
    expectMarks(program, false, true);
    EXPECT_TRUE(program.buttonDown(app::toolbarEntryOf(app::Command::Center)));
    EXPECT_FALSE(program.buttonDown(app::toolbarEntryOf(app::Command::Right)));

    // Back to the right with the toolbar: stored at once.
    program.clickButton(app::toolbarEntryOf(app::Command::Right));
    ASSERT_TRUE(
        e2e::waitFor([&] { return program.buttonDown(app::toolbarEntryOf(app::Command::Right)); }));
    expectMarks(program, true, false);
    EXPECT_EQ(setting(L"TextAlign"), L"Right");
    EXPECT_EQ(program.closeWithAltF4(), 0);
}
