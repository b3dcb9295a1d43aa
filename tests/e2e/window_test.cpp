// The main window as the user leaves it: what a start, a move, a resize and a maximised start
// write to Setting.ini (and a start and exit with nothing done anywhere else), and a question
// that holds the window until it is answered.

#include "scenario.h"

using Window = Scenario;

namespace {

// Moves or sizes the window from outside, as a window manager does for the user's drag.
void placeWindow(HWND window, int left, int top, int width, int height, UINT flags) {
    SetWindowPos(window, nullptr, left, top, width, height, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

TEST_F(Window, AStartAndAnExitWithNothingDoneLeaveTheSettingsAsTheyWereAndNoRecoveryCopy) {
    {
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        ASSERT_EQ(program.closeWithAltF4(), 0);
    }
    EXPECT_FALSE(testing_files::exists(settingsFile()));
    EXPECT_FALSE(testing_files::exists(e2e::localAppData(folder.path()) + L"Dawatik"));

    const std::string stored = "[General]\r\nFontSize=30\r\nLeft=100\r\n\r\n[Mine]\r\nKey=1\r\n";
    ASSERT_TRUE(testing_files::writeBytes(settingsFile(), stored));
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.sizeText(), L"30");
    ASSERT_EQ(program.closeWithAltF4(), 0);
    EXPECT_EQ(testing_files::readBytes(settingsFile()), stored);
}

TEST_F(Window, AMoveWritesThePositionAndAResizeAllFourBounds) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    placeWindow(program.main(), 300, 200, 0, 0, SWP_NOSIZE);
    ASSERT_TRUE(e2e::waitFor([&] { return setting(L"Top") == L"200"; }));
    EXPECT_EQ(setting(L"Left"), L"300");
    EXPECT_EQ(setting(L"Width"), L"<none>");
    EXPECT_EQ(setting(L"Height"), L"<none>");

    placeWindow(program.main(), 0, 0, 600, 400, SWP_NOMOVE);
    ASSERT_TRUE(e2e::waitFor([&] { return setting(L"Height") == L"400"; }));
    EXPECT_EQ(setting(L"Width"), L"600");
    EXPECT_EQ(setting(L"Left"), L"300");
    EXPECT_EQ(setting(L"Top"), L"200");
    EXPECT_EQ(program.closeWithAltF4(), 0);
}

TEST_F(Window, AStartMaximisedByItsShortcutRecordsNothingUntilTheUserMovesIt) {
    e2e::Program program(folder.path(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(e2e::waitFor([&] { return IsZoomed(program.main()) != FALSE; }));

    // Restored, the window stands where the defaults put it: nothing new to record.
    PostMessageW(program.main(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(e2e::waitFor([&] { return !IsZoomed(program.main()); }));
    RECT r{};
    GetWindowRect(program.main(), &r);
    EXPECT_EQ(r.left, 252);
    EXPECT_EQ(r.top, 183);
    EXPECT_EQ(r.right - r.left, 550);
    EXPECT_EQ(r.bottom - r.top, 380);
    EXPECT_FALSE(testing_files::exists(settingsFile()));

    placeWindow(program.main(), 260, 190, 0, 0, SWP_NOSIZE);
    EXPECT_TRUE(e2e::waitFor([&] { return setting(L"Left") == L"260"; }));
    EXPECT_EQ(setting(L"Width"), L"<none>");
    EXPECT_EQ(program.closeWithAltF4(), 0);
}

TEST_F(Window, TheUnsavedChangesQuestionHoldsTheWindowUntilItIsAnswered) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.typeIntoText(L"ktb", L"\x0643\x062A\x0628"));

    program.press(VK_F4, false, true);
    const e2e::Dialog question = expectChangedQuestion(program);
    ASSERT_NE(question.window, nullptr);
    EXPECT_EQ(GetWindow(question.window, GW_OWNER), program.main());
    EXPECT_FALSE(IsWindowEnabled(program.main()));

    // A close from elsewhere (the task list) while the question is up asks nothing more.
    PostMessageW(program.main(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(e2e::waitFor([&] { return program.dialogCount() > 1; }, 1000));

    ASSERT_TRUE(e2e::Program::answer(question, IDCANCEL));
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(e2e::waitFor([&] { return IsWindowEnabled(program.main()) != FALSE; }));
    EXPECT_EQ(program.editText(), L"\x0643\x062A\x0628");

    // Alt+F4 closes from the font-name box as from anywhere in the window.
    program.click(program.fontNameBox());
    program.press(VK_ESCAPE);
    program.press(VK_F4, false, true);
    const e2e::Dialog again = expectChangedQuestion(program);
    ASSERT_TRUE(e2e::Program::answer(again, IDNO));
    EXPECT_EQ(program.waitForExit(), 0);
}
