// Help Topics and the About window, from the real main window.

#include "editor_window.h"

#include "app/UAbout.h"
#include "controls/label.h"
#include "support/dialogs.h"
#include "support/html_association.h"

#include <shellapi.h>

#include <vector>

namespace {

bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The shell's copy appears before its bytes do: wait for the content, not the name.
std::string waitForContent(const std::wstring& path, const std::string& expected) {
    std::string seen = testing_files::readBytes(path);
    for (int i = 0; i < 200 && seen != expected; ++i) {
        Sleep(25);
        seen = testing_files::readBytes(path);
    }
    return seen;
}

// What the About window showed, noted while it was open.
struct AboutSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::vector<std::wstring> labels;
    std::vector<LONG> weights;
    std::wstring labelFace;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT client{};
    RECT bounds{};
    HWND owner = nullptr;
    bool ownerEnabled = true;
    LRESULT borderHit = 0;
    bool sizeGreyed = false;
    HICON bigIcon = nullptr;
};
AboutSeen g_seen;

// Runs inside the About window's modal loop: notes what it shows, then closes it as its close
// box does.
void CALLBACK inspectAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    app::AboutWindow* about = app::FAbout;
    if (!about || !about->form->handle() || !IsWindowVisible(about->form->handle()))
        return;
    KillTimer(nullptr, timer);
    HWND window = about->form->handle();
    AboutSeen seen;
    seen.window = window;
    seen.caption = testing_gui::windowText(window);
    for (ctl::Label* label :
         {about->nameLabel, about->authorLabel, about->descriptionHeading, about->descriptionLabel,
          about->contactHeading, about->contactLabel}) {
        seen.labels.push_back(testing_gui::windowText(label->handle()));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label->handle(), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        seen.weights.push_back(font.lfWeight);
        seen.labelFace = font.lfFaceName;
    }
    seen.style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    seen.exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    GetClientRect(window, &seen.client);
    GetWindowRect(window, &seen.bounds);
    seen.owner = GetWindow(window, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(seen.owner) != FALSE;
    // Where the right sizing border would be.
    const LPARAM border =
        MAKELPARAM(seen.bounds.right - 2, (seen.bounds.top + seen.bounds.bottom) / 2);
    seen.borderHit = SendMessageW(window, WM_NCHITTEST, 0, border);
    SendMessageW(window, WM_INITMENU, reinterpret_cast<WPARAM>(GetSystemMenu(window, FALSE)), 0);
    seen.sizeGreyed =
        (GetMenuState(GetSystemMenu(window, FALSE), SC_SIZE, MF_BYCOMMAND) & MF_GRAYED) != 0;
    seen.bigIcon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    g_seen = seen;
    ctl::close(*about->form);
}

AboutSeen showAbout(app::MainWindow& editor) {
    g_seen = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, inspectAbout);
    editor.aboutCommand();
    KillTimer(nullptr, timer);
    return g_seen;
}

} // namespace

TEST_F(EditorTest, HelpOpensTheManualBesideTheProgramOrSaysItIsMissing) {
    start();
    show();
    const std::wstring manual = besideProgram(L"readme_en.html");
    ASSERT_TRUE(testing_files::writeBytes(manual, "<html>manual</html>"));
    {
        testing_gui::DialogDriver dialogs;
        if (underWine()) {
            const std::wstring copy = besideProgram(L"opened.html");
            DeleteFileW(copy.c_str());
            const testing_files::HtmlOpensAsCopy association(copy);
            editor->helpCommand();
            EXPECT_EQ(waitForContent(copy, "<html>manual</html>"), "<html>manual</html>");
            DeleteFileW(copy.c_str());
        } else {
            editor->helpCommand();
        }
        Sleep(300);
        EXPECT_TRUE(dialogs.finish().empty()); // no "not found" box
    }

    // Missing, and a folder of that name: the box, owned by the main window, with its title.
    ASSERT_TRUE(DeleteFileW(manual.c_str()));
    for (bool folder : {false, true}) {
        if (folder) {
            ASSERT_TRUE(CreateDirectoryW(manual.c_str(), nullptr));
        }
        testing_gui::DialogDriver dialogs;
        dialogs.press(IDOK);
        editor->helpCommand();
        const auto seen = dialogs.finish();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].isProgramBox(L"Help file not found", {IDOK})) << seen[0].text;
        EXPECT_EQ(seen[0].owner, form->handle());
    }
}

TEST_F(EditorTest, AboutIsBuiltAndDestroyedForEachShowingAndCannotBeResized) {
    start();
    show();
    HWND mainWindow = form->handle();
    SetFocus(edit());
    const AboutSeen first = showAbout(*editor);
    testing_gui::pump();
    ASSERT_NE(first.window, nullptr);
    EXPECT_EQ(app::FAbout, nullptr);
    EXPECT_FALSE(IsWindow(first.window));
    // The main window is its old self: enabled, typing goes to the text again, and its moves
    // are still recorded as they are.
    ASSERT_EQ(form->handle(), mainWindow);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(GetFocus(), edit());
    SetWindowPos(mainWindow, nullptr, 90, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    testing_gui::pump();
    EXPECT_EQ(setting(L"Left"), L"90");
    EXPECT_EQ(setting(L"Top"), L"80");

    EXPECT_EQ(first.caption, L"About Dawatik");
    ASSERT_EQ(first.labels.size(), 6u);
    EXPECT_EQ(first.labels[0], L"Dawatik 1.4");
    EXPECT_EQ(first.labels[2], L"Description");
    EXPECT_EQ(first.labels[3], L"Simple Arabic Unicode text editor. See the help manual (readme) "
                               L"for both Keyboard character map and Installation.");
    EXPECT_EQ(first.labels[4], L"Contact and Information");
    EXPECT_EQ(first.labels[5].rfind(L"email \t: ", 0), 0u);
    EXPECT_NE(first.labels[5].find(L"\r\nwebsite  \t: "), std::wstring::npos);
    EXPECT_EQ(first.labelFace, L"Arial");
    for (int bold : {0, 2, 4})
        EXPECT_GE(first.weights[bold], FW_BOLD);
    EXPECT_LT(first.weights[3], FW_BOLD);
    EXPECT_EQ(first.client.right, 321);
    EXPECT_EQ(first.client.bottom, 182);
    EXPECT_EQ(first.owner, mainWindow);
    // Centred on the screen, not on its owner.
    const RECT& b = first.bounds;
    EXPECT_EQ(b.left, (GetSystemMetrics(SM_CXSCREEN) - (b.right - b.left)) / 2);
    EXPECT_EQ(b.top, (GetSystemMetrics(SM_CYSCREEN) - (b.bottom - b.top)) / 2);
    EXPECT_FALSE(first.ownerEnabled); // modal
    EXPECT_EQ(first.bigIcon, nullptr);

    EXPECT_EQ(first.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_TRUE(first.exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(first.borderHit, HTNOWHERE);
    EXPECT_TRUE(first.sizeGreyed);

    const AboutSeen second = showAbout(*editor);
    ASSERT_NE(second.window, nullptr);
    EXPECT_FALSE(IsWindow(second.window));
    EXPECT_EQ(second.caption, first.caption);
    EXPECT_EQ(second.labels, first.labels);
    EXPECT_EQ(second.weights, first.weights);
    EXPECT_EQ(second.bounds.right - second.bounds.left, first.bounds.right - first.bounds.left);
}
