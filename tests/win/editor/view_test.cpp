// The view commands and the command table on the real main window: through its menu, its
// shortcuts and its toolbar, with the results on screen and in the settings file.

#include "editor_window.h"

#include "controls/items.h"
#include "support/keys.h"

#include <limits>

namespace {

std::pair<DWORD, DWORD> selection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// The editable part of a combo box, where the user types.
HWND innerEdit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info.hwndItem;
}

void typeInto(HWND window, const std::wstring& text) {
    for (wchar_t c : text)
        SendMessageW(window, WM_CHAR, c, 1);
    testing_gui::pump();
}

void pressWithCtrl(HWND window, WPARAM key) {
    const testing_gui::KeyHeld ctrl(VK_CONTROL);
    SendMessageW(window, WM_KEYDOWN, key, 1);
    SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    testing_gui::pump();
}

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"<closed>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::wstring tooltip(ctl::Toolbar& toolbar, int index) {
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = toolbar.handle();
    tool.uId = static_cast<UINT_PTR>(toolbar.buttonId(index));
    tool.lpszText = text;
    SendMessageW(reinterpret_cast<HWND>(toolbar.sendMessage(TB_GETTOOLTIPS)), TTM_GETTEXTW, 80,
                 reinterpret_cast<LPARAM>(&tool));
    return text;
}

} // namespace

TEST_F(EditorTest, TextSizeFromMenuAndSizeBoxAndFamilyFromNameBox) {
    start();
    show();
    choose(app::menuItemOf(app::Command::Increase));
    EXPECT_EQ(sizeBoxText(), L"74"); // not in the list
    EXPECT_EQ(editFont().lfHeight, 74);
    EXPECT_EQ(setting(L"FontSize"), L"74");

    // Normal is for the moment: the stored size stays.
    choose(app::menuItemOf(app::Command::Normal));
    EXPECT_EQ(sizeBoxText(), L"26");
    EXPECT_EQ(editFont().lfHeight, 26);
    EXPECT_EQ(setting(L"FontSize"), L"74");

    // Typed into the box: the leading number is the height, the text is stored as typed.
    HWND sizeEdit = innerEdit(editor->fontSizeBox->handle());
    SendMessageW(sizeEdit, EM_SETSEL, 0, -1);
    typeInto(sizeEdit, L"12pt");
    EXPECT_EQ(editFont().lfHeight, 12);
    EXPECT_EQ(setting(L"FontSize"), L"12pt");

    // No lower bound: 2, 0 (the platform's default height), -2.
    SendMessageW(sizeEdit, EM_SETSEL, 0, -1);
    typeInto(sizeEdit, L"2");
    choose(app::menuItemOf(app::Command::Decrease));
    EXPECT_EQ(sizeBoxText(), L"0");
    EXPECT_EQ(editFont().lfHeight, 0);
    choose(app::menuItemOf(app::Command::Decrease));
    EXPECT_EQ(sizeBoxText(), L"-2");
    EXPECT_EQ(editor->editField->font().height(), -2);
    EXPECT_EQ(setting(L"FontSize"), L"-2");

    // Choosing another family with the keyboard changes the face, not the height.
    HWND nameBox = editor->fontNameBox->handle();
    SetFocus(nameBox);
    const int chosen = ctl::currentIndex(*editor->fontNameBox) + 1;
    SendMessageW(nameBox, WM_KEYDOWN, VK_DOWN, 1);
    testing_gui::pump();
    const std::wstring family = ctl::itemText(*editor->fontNameBox, chosen);
    EXPECT_EQ(ctl::currentIndex(*editor->fontNameBox), chosen);
    EXPECT_EQ(editor->editField->font().faceName(), family);
    EXPECT_EQ(editor->editField->font().height(), -2);
    EXPECT_EQ(setting(L"FontName"), family);
}

TEST_F(EditorTest, TextSizeStepsStopAtTheLargestAndSmallestHeight) {
    start();
    ctl::Font& font = editor->editField->font();
    font.setHeight(std::numeric_limits<LONG>::max() - 1);
    choose(app::menuItemOf(app::Command::Increase));
    EXPECT_EQ(font.height(), std::numeric_limits<LONG>::max());
    EXPECT_EQ(sizeBoxText(), L"2147483647");
    choose(app::menuItemOf(app::Command::Increase));
    EXPECT_EQ(font.height(), std::numeric_limits<LONG>::max());
    EXPECT_EQ(setting(L"FontSize"), L"2147483647");

    font.setHeight(std::numeric_limits<LONG>::min() + 1);
    choose(app::menuItemOf(app::Command::Decrease));
    choose(app::menuItemOf(app::Command::Decrease));
    EXPECT_EQ(font.height(), std::numeric_limits<LONG>::min());
    EXPECT_EQ(sizeBoxText(), L"-2147483648");
}

TEST_F(EditorTest, AlignmentFromMenuAndToolbarKeepsTextAndSelection) {
    start();
    show();
    EXPECT_EQ(tooltip(toolbar(), app::toolbarEntryOf(app::Command::Center)), L"center");
    EXPECT_EQ(tooltip(toolbar(), app::toolbarEntryOf(app::Command::Right)), L"right");
    // The chosen alignment shows in the field, the menu's check, the buttons and the settings,
    // and the text and its selection stay.
    const auto expectAligned = [&](app::Command chosen, app::Command other, DWORD style,
                                   const wchar_t* saved) {
        EXPECT_EQ(editAlignment(), style);
        EXPECT_TRUE(menuChecked(app::menuItemOf(chosen)));
        EXPECT_FALSE(menuChecked(app::menuItemOf(other)));
        EXPECT_TRUE(buttonDown(app::toolbarEntryOf(chosen)));
        EXPECT_FALSE(buttonDown(app::toolbarEntryOf(other)));
        EXPECT_EQ(setting(L"TextAlign"), saved);
        EXPECT_EQ(editText(), L"\x0633\x0644\x0627\x0645\r\nabc");
        EXPECT_EQ(selection(edit()), std::make_pair(DWORD{2}, DWORD{7}));
    };

    SetWindowTextW(edit(), L"\x0633\x0644\x0627\x0645\r\nabc");
    SendMessageW(edit(), EM_SETSEL, 2, 7);
    choose(app::menuItemOf(app::Command::Center));
    expectAligned(app::Command::Center, app::Command::Right, ES_CENTER, L"Center");
    click(app::toolbarEntryOf(app::Command::Right));
    expectAligned(app::Command::Right, app::Command::Center, ES_RIGHT, L"Right");
    click(app::toolbarEntryOf(app::Command::Center));
    expectAligned(app::Command::Center, app::Command::Right, ES_CENTER, L"Center");
    EXPECT_FALSE(editor->document.modified());
}

TEST_F(EditorTest, ShortcutsReachTheMenuFromTheEditFieldAndTheSizeBox) {
    start();
    show();
    SetFocus(edit());
    ASSERT_EQ(GetFocus(), edit());
    pressWithCtrl(edit(), 'A'); // Select All on an empty field changes nothing
    EXPECT_EQ(selection(edit()), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_FALSE(editor->document.modified());

    // Without Ctrl: Tab neither types nor moves the focus, Enter starts a new line.
    for (WPARAM key : {WPARAM{VK_TAB}, WPARAM{VK_RETURN}}) {
        SendMessageW(edit(), WM_KEYDOWN, key, 1);
        SendMessageW(edit(), WM_CHAR, key == VK_TAB ? L'\t' : L'\r', 1);
        SendMessageW(edit(), WM_KEYUP, key, 0xC0000001);
    }
    testing_gui::pump();
    EXPECT_EQ(editText(), L"\r\n");
    EXPECT_EQ(GetFocus(), edit());

    pressWithCtrl(edit(), VK_ADD);
    EXPECT_EQ(editFont().lfHeight, 74);
    pressWithCtrl(edit(), VK_OEM_PLUS); // the main keyboard's plus is no shortcut
    pressWithCtrl(edit(), VK_NUMPAD0);  // nor is the keypad 0
    EXPECT_EQ(editFont().lfHeight, 74);
    pressWithCtrl(edit(), '0');
    EXPECT_EQ(editFont().lfHeight, 26);
    pressWithCtrl(edit(), VK_SUBTRACT);
    EXPECT_EQ(editFont().lfHeight, 24);

    SetWindowTextW(edit(), L"abc");
    pressWithCtrl(edit(), 'A');
    EXPECT_EQ(selection(edit()), std::make_pair(DWORD{0}, DWORD{3}));

    // In the size box Ctrl+C and Ctrl+X are the menu's Copy and Cut, acting on the box's text:
    // the document and its selection stay as they were.
    SendMessageW(edit(), EM_SETSEL, 0, 2);
    HWND sizeEdit = innerEdit(editor->fontSizeBox->handle());
    SetFocus(sizeEdit);
    SendMessageW(sizeEdit, EM_SETSEL, 0, -1);
    pressWithCtrl(sizeEdit, 'C');
    EXPECT_EQ(clipboardText(), L"24");
    pressWithCtrl(sizeEdit, 'X');
    EXPECT_EQ(editor->fontSizeBox->text(), L"");
    EXPECT_EQ(editText(), L"abc");
    EXPECT_EQ(selection(edit()), std::make_pair(DWORD{0}, DWORD{2}));
}
