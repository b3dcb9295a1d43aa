// Start-up of the real main window: what it shows and applies with and without stored settings.

#include "editor_window.h"

#include "controls/edit.h"
#include "controls/items.h"

#include <set>
#include <string>
#include <vector>

namespace {

int CALLBACK collectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM names) {
    reinterpret_cast<std::set<std::wstring>*>(names)->insert(font->lfFaceName);
    return 1;
}

} // namespace

TEST_F(EditorTest, WithoutSettingsStartsWithTheDefaults) {
    start();
    EXPECT_FALSE(testing_files::exists(settingsFile())); // reading creates nothing
    show();

    EXPECT_EQ(testing_gui::windowText(form->handle()), L"Dawatik 1.4");
    EXPECT_EQ(statusText(), L" Dawatik 1.4");
    const RECT r = outerBounds();
    EXPECT_EQ(r.left, 252);
    EXPECT_EQ(r.top, 183);
    EXPECT_EQ(r.right - r.left, 550);
    EXPECT_EQ(r.bottom - r.top, 380);

    const bool haveTraditional = ctl::findItem(*editor->fontNameBox, L"Traditional Arabic") >= 0;
    const std::wstring face = haveTraditional ? L"Traditional Arabic" : L"Arial";
    EXPECT_EQ(editor->fontNameBox->text(), face);
    EXPECT_EQ(sizeBoxText(), L"72");
    EXPECT_EQ(std::wstring(editFont().lfFaceName), face);
    EXPECT_EQ(editFont().lfHeight, 72);

    EXPECT_EQ(editAlignment(), static_cast<DWORD>(ES_RIGHT));
    const DWORD readingStyles = WS_EX_RTLREADING | WS_EX_RIGHT;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(edit(), GWL_EXSTYLE)) & readingStyles,
              readingStyles);
    // Words are delimited by spaces, by the layer's word-break procedure.
    EXPECT_EQ(reinterpret_cast<EDITWORDBREAKPROCW>(SendMessageW(edit(), EM_GETWORDBREAKPROC, 0, 0)),
              ctl::spaceDelimitedWordBreaks());
    EXPECT_TRUE(menuChecked(app::menuItemOf(app::Command::Right)));
    EXPECT_FALSE(menuChecked(app::menuItemOf(app::Command::Center)));
    EXPECT_TRUE(buttonDown(app::toolbarEntryOf(app::Command::Right)));
    EXPECT_FALSE(buttonDown(app::toolbarEntryOf(app::Command::Center)));
    EXPECT_EQ(editText(), L"");
}

TEST_F(EditorTest, StoredAlignmentCentresTextMenuAndToolbarByItsLetterCase) {
    struct Case {
        const char* stored;
        bool textCentered;
        bool toolbarCentered;
    };
    for (const Case c : {Case{"Center", true, true}, Case{"center", true, false},
                         Case{"CENTER", true, false}, Case{"Left", false, false}}) {
        SCOPED_TRACE(c.stored);
        storeSettings(std::string("TextAlign=") + c.stored + "\r\n");
        start();
        show();
        EXPECT_EQ(editAlignment(), static_cast<DWORD>(c.textCentered ? ES_CENTER : ES_RIGHT));
        EXPECT_EQ(menuChecked(app::menuItemOf(app::Command::Center)), c.textCentered);
        EXPECT_EQ(menuChecked(app::menuItemOf(app::Command::Right)), !c.textCentered);
        EXPECT_EQ(buttonDown(app::toolbarEntryOf(app::Command::Center)), c.toolbarCentered);
        EXPECT_EQ(buttonDown(app::toolbarEntryOf(app::Command::Right)), !c.toolbarCentered);
        closeEditor();
    }
}

TEST_F(EditorTest, StoredFontNameAndSizeAreAppliedAsStored) {
    // A face that is not installed: no selection, an empty face for the platform to replace.
    storeSettings("FontName=No Such Face Installed\r\nFontSize=abc\r\n");
    start();
    show();
    EXPECT_EQ(ctl::currentIndex(*editor->fontNameBox), -1);
    EXPECT_EQ(editor->fontNameBox->text(), L"");
    EXPECT_EQ(editor->editField->font().faceName(), L"");
    EXPECT_EQ(sizeBoxText(), L"0");
    EXPECT_EQ(editFont().lfHeight, 0);
    closeEditor();

    storeSettings("FontName=arial\r\nFontSize=30\r\n");
    start();
    show();
    EXPECT_EQ(editor->fontNameBox->text(), L"Arial"); // found whatever the letter case
    EXPECT_EQ(std::wstring(editFont().lfFaceName), L"Arial");
    EXPECT_EQ(sizeBoxText(), L"30");
    EXPECT_EQ(editFont().lfHeight, 30);
}

TEST_F(EditorTest, FontListNamesEachInstalledFamilyOnce) {
    start();
    std::set<std::wstring> families;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesW(dc, nullptr, collectFamily, reinterpret_cast<LPARAM>(&families));
    ReleaseDC(nullptr, dc);

    const int count = ctl::itemCount(*editor->fontNameBox);
    std::set<std::wstring> listed;
    for (int i = 0; i < count; ++i)
        listed.insert(ctl::itemText(*editor->fontNameBox, i));
    EXPECT_EQ(static_cast<std::size_t>(count), listed.size()); // no family twice
    EXPECT_EQ(listed, families);
}
