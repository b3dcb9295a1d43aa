// The window's bounds in the settings file: written by the visible window's moves and resizes
// only, and still after a refused close.

#include "editor_window.h"

#include "support/dialogs.h"

namespace {

// Overwrites the four bounds in the settings file, so a test sees which ones a change rewrote.
void markBounds() {
    for (const wchar_t* key : {L"Left", L"Top", L"Width", L"Height"})
        WritePrivateProfileStringW(L"General", key, L"-1", EditorTest::settingsFile().c_str());
}

// Left, top, width and height as the settings file holds them.
using Bounds = std::vector<std::wstring>;
Bounds storedBounds() {
    Bounds stored;
    for (const wchar_t* key : {L"Left", L"Top", L"Width", L"Height"})
        stored.push_back(EditorTest::setting(key));
    return stored;
}

} // namespace

TEST_F(EditorTest, StartUpWritesNoBoundsAndAMoveWritesOnlyThePosition) {
    storeSettings("Left=100\r\nTop=120\r\nWidth=600\r\nHeight=400\r\n");
    start();
    // Applying them raised size and move events on the hidden window: nothing was written back.
    EXPECT_EQ(testing_files::readBytes(settingsFile()),
              "[General]\r\nLeft=100\r\nTop=120\r\nWidth=600\r\nHeight=400\r\n");
    show();
    const RECT r = outerBounds();
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 400); // the status bar came out of the client area

    markBounds();
    SetWindowPos(form->handle(), nullptr, 130, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    testing_gui::pump();
    EXPECT_EQ(storedBounds(), (Bounds{L"130", L"140", L"-1", L"-1"}));

    markBounds();
    SetWindowPos(form->handle(), nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    testing_gui::pump();
    EXPECT_EQ(storedBounds(), (Bounds{L"130", L"140", L"500", L"350"}));
}

TEST_F(EditorTest, AMinimisedWindowWritesNoBounds) {
    start();
    show();
    markBounds();
    ShowWindow(form->handle(), SW_MINIMIZE);
    testing_gui::pump();
    ASSERT_TRUE(IsIconic(form->handle()));
    // Its parked position would open the next start off every screen.
    EXPECT_EQ(storedBounds(), (Bounds{L"-1", L"-1", L"-1", L"-1"}));

    // Restored where it stood, it has nothing new to write; a move afterwards is written.
    ShowWindow(form->handle(), SW_RESTORE);
    testing_gui::pump();
    EXPECT_EQ(setting(L"Left"), L"-1");
    EXPECT_EQ(setting(L"Width"), L"-1");
    SetWindowPos(form->handle(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    testing_gui::pump();
    EXPECT_EQ(setting(L"Left"), L"40");
    EXPECT_EQ(setting(L"Width"), L"-1");
}

TEST_F(EditorTest, CancelAtCloseKeepsTheWindowAndItsBoundsRecorded) {
    start();
    show();
    ctl::application().running = true; // as under run: the close may be refused
    editor->editField->sendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\x0633"));
    ASSERT_TRUE(editor->document.modified());

    testing_gui::DialogDriver dialogs;
    dialogs.press(IDCANCEL);
    SendMessageW(form->handle(), WM_CLOSE, 0, 0);
    const auto seen = dialogs.finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Dawatik 1.4");
    EXPECT_TRUE(IsWindowVisible(form->handle()));
    EXPECT_FALSE(ctl::application().terminated);

    SetWindowPos(form->handle(), nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    testing_gui::pump();
    EXPECT_EQ(setting(L"Left"), L"60");
    EXPECT_EQ(setting(L"Top"), L"70");
}
