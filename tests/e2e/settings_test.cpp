// The view settings chosen with the keyboard and the toolbar, kept in Setting.ini beside the
// program and found back at the next start.

#include "scenario.h"

using Settings = Scenario;

namespace {

// View > Text Align's marks and the two alignment buttons show the text centred or at the right.
void expectAlignment(const e2e::Program& program, bool centered) {
    const int right = app::toolbarEntryOf(app::Command::Right);
    const int center = app::toolbarEntryOf(app::Command::Center);
    ASSERT_TRUE(e2e::waitFor([&] { return program.buttonDown(centered ? center : right); }));
    EXPECT_FALSE(program.buttonDown(centered ? right : center));
    const e2e::Program::Marks marks = program.alignMarks();
    ASSERT_TRUE(marks.seen) << "View > Text Align did not open";
    EXPECT_EQ(marks.right, !centered);
    EXPECT_EQ(marks.center, centered);
}

} // namespace

TEST_F(Settings, FontSizeAndAlignmentComeBackAtTheNextStart) {
    std::wstring font;
    {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        EXPECT_EQ(program.sizeText(), L"72");
        program.click(program.edit());
        expectAlignment(program, false);

        // View > Text Align > Center, chosen with the keyboard.
        program.chooseFromMenu(
            {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
        expectAlignment(program, true);
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

        // The size keys with the focus still in the font list (the typing tests press them in
        // the text).
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
    expectAlignment(program, true);

    // Back to the right with the toolbar: stored at once.
    program.clickButton(app::toolbarEntryOf(app::Command::Right));
    expectAlignment(program, false);
    EXPECT_EQ(setting(L"TextAlign"), L"Right");
    EXPECT_EQ(program.closeWithAltF4(), 0);
}
