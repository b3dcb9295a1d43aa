// The toolbar on real windows: the editor's buttons, tooltips, per-button click records with
// real mouse messages, texts and mnemonics, styles, bitmap strips and custom drawing.

#include "controls/toolbar.h"
#include "support/gui.h"
#include "support/keys.h"
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace ctl;
using testing_gui::ScopedForm;

namespace {

// Every toolbar of this program is made here, so the next button identifier is known.
int g_buttonsMade = 0;

Toolbar* makeToolbar(Control& parent, ToolbarTemplate entries, std::span<const int> images = {},
                     Align align = Align::None,
                     ToolbarOptions options = tbopt::kTextRight | tbopt::kFlat) {
    Toolbar* toolbar = newToolbar(parent, align, options, nullptr, entries, images);
    g_buttonsMade += static_cast<int>(entries.size());
    return toolbar;
}

Toolbar* makeEditorToolbar(Control& parent) {
    return makeToolbar(parent, app::kToolbarTemplate, app::kToolbarImages);
}

TBBUTTON button(Toolbar& toolbar, int index) {
    TBBUTTON b{};
    EXPECT_TRUE(toolbar.sendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b)));
    return b;
}

bool checked(Toolbar& toolbar, int commandId) {
    return toolbar.sendMessage(TB_ISBUTTONCHECKED, commandId) != 0;
}

// Asks the toolbar for a tooltip as its tooltip window does.
std::wstring tooltip(Toolbar& toolbar, int commandId) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(toolbar.sendMessage(TB_GETTOOLTIPS));
    info.hdr.idFrom = static_cast<UINT_PTR>(commandId);
    info.hdr.code = TTN_GETDISPINFOW;
    lstrcpynW(info.szText, L"stale", ARRAYSIZE(info.szText));
    SendMessageW(toolbar.handle(), WM_NOTIFY, commandId, reinterpret_cast<LPARAM>(&info));
    return info.lpszText ? info.lpszText : L"<null>";
}

// The text the toolbar holds for the button, read back as long as it is.
std::wstring buttonText(Toolbar& toolbar, int commandId) {
    const auto length = toolbar.sendMessage(TB_GETBUTTONTEXTW, commandId);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    toolbar.sendMessage(TB_GETBUTTONTEXTW, commandId, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void click(Toolbar& toolbar, int index, bool right = false) {
    RECT r{};
    toolbar.sendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(toolbar.handle(), right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
                 right ? MK_RBUTTON : MK_LBUTTON, at);
    SendMessageW(toolbar.handle(), right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    testing_gui::pump();
}

DWORD windowStyle(Control& control) {
    return static_cast<DWORD>(GetWindowLongW(control.handle(), GWL_STYLE));
}

} // namespace

TEST(Toolbar, EditorToolbarHasSixteenIdentifiersAndOneGroupOfAlignmentButtons) {
    ScopedForm form;
    const int first = kFirstToolbarCommandId + g_buttonsMade;
    Toolbar* toolbar = makeEditorToolbar(*form);

    ASSERT_EQ(toolbar->sendMessage(TB_BUTTONCOUNT), 16);
    for (int index = 0; index < 16; ++index)
        EXPECT_EQ(toolbar->buttonId(index), first + index);
    EXPECT_EQ(toolbar->buttonId(16), -1);
    EXPECT_EQ(button(*toolbar, 13).iBitmap, 7);
    EXPECT_EQ(button(*toolbar, 4).fsStyle, BTNS_SEP);
    EXPECT_EQ(button(*toolbar, 1).fsStyle, BTNS_AUTOSIZE);

    const BYTE radio = BTNS_AUTOSIZE | BTNS_CHECK | BTNS_GROUP;
    EXPECT_EQ(button(*toolbar, 10).fsStyle, radio);
    EXPECT_EQ(button(*toolbar, 11).fsStyle, radio);
    EXPECT_TRUE(checked(*toolbar, first + 11));
    EXPECT_FALSE(checked(*toolbar, first + 10));
    toolbar->setButtonState(TB_CHECKBUTTON, 10, true); // by index: one group
    EXPECT_TRUE(checked(*toolbar, first + 10));
    EXPECT_FALSE(checked(*toolbar, first + 11));
    toolbar->setButtonState(TB_ENABLEBUTTON, first + 3, false); // by identifier
    EXPECT_FALSE(toolbar->sendMessage(TB_ISBUTTONENABLED, first + 3));

    const DWORD wanted = WS_CHILD | TBSTYLE_TOOLTIPS | TBSTYLE_LIST | TBSTYLE_FLAT |
                         TBSTYLE_TRANSPARENT | CCS_NODIVIDER | CCS_NOPARENTALIGN;
    EXPECT_EQ(windowStyle(*toolbar) & wanted, wanted);
}

TEST(Toolbar, TooltipsAreFoundByCommandIdentifierAndCutTo79Characters) {
    ScopedForm form;
    Toolbar* toolbar = makeEditorToolbar(*form);
    const int first = toolbar->buttonId(0);
    toolbar->setTooltips(first, app::kToolbarTips);

    EXPECT_EQ(tooltip(*toolbar, first + 1), L"New");
    EXPECT_EQ(tooltip(*toolbar, first + 10), L"center");
    EXPECT_EQ(tooltip(*toolbar, first + 11), L"right");
    EXPECT_EQ(tooltip(*toolbar, first), L"");
    EXPECT_EQ(tooltip(*toolbar, first + 16), L"");

    const std::wstring longText(100, L'x');
    const std::wstring_view replaced[] = {longText};
    toolbar->setTooltips(first + 1, replaced);
    EXPECT_EQ(tooltip(*toolbar, first + 1), std::wstring(79, L'x'));

    // The tooltip window itself asks the toolbar for the text.
    HWND tips = reinterpret_cast<HWND>(toolbar->sendMessage(TB_GETTOOLTIPS));
    ASSERT_NE(tips, nullptr);
    wchar_t text[100] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = toolbar->handle();
    tool.uId = static_cast<UINT_PTR>(first + 10);
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 100, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), L"center");
}

TEST(Toolbar, ClicksRunThePerButtonRecordsAssignedFromIndexOne) {
    ScopedForm form;
    Toolbar* toolbar = makeEditorToolbar(*form);
    const int first = toolbar->buttonId(0);
    std::vector<std::pair<int, int>> calls; // slot number, command identifier
    std::vector<ButtonHandler> slots;
    for (int slot = 0; slot < 14; ++slot) {
        const bool separator = slot == 3 || slot == 8 || slot == 11;
        slots.push_back(separator ? ButtonHandler{}
                                  : ButtonHandler{[&calls, slot](Toolbar&, int id) {
                                        calls.emplace_back(slot, id);
                                    }});
    }
    toolbar->assignButtonEvents(1, slots);
    std::vector<std::string> clicks;
    toolbar->setOnClick([&](Control&) {
        const int command = toolbar->lastCommand;
        clicks.push_back(std::to_string(toolbar->currentButton) + " " +
                         (command < 0 ? "none" : std::to_string(command - first)) +
                         (toolbar->rightClick ? " right" : " left"));
    });
    showForm(*form);

    click(*toolbar, 1);
    click(*toolbar, 10);
    click(*toolbar, 4); // a separator: no record, no command, a click on the bar itself
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, first + 1}, {9, first + 10}}));
    EXPECT_TRUE(checked(*toolbar, first + 10)) << "the check button still works";
    EXPECT_FALSE(checked(*toolbar, first + 11));
    EXPECT_EQ(clicks, (std::vector<std::string>{"1 1 left", "10 10 left", "-1 none left"}));

    // A later record for the same button is found first.
    calls.clear();
    const ButtonHandler later[] = {[&calls](Toolbar&, int id) { calls.emplace_back(99, id); }};
    toolbar->assignButtonEvents(first + 2, later);
    click(*toolbar, 2);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{99, first + 2}}));

    // A right click marks itself and the button before onClick runs.
    clicks.clear();
    click(*toolbar, 6, true);
    ASSERT_FALSE(clicks.empty());
    EXPECT_EQ(clicks.front().substr(0, 2), "6 ");
    EXPECT_NE(clicks.front().find("right"), std::string::npos);
}

TEST(Toolbar, TextsStringsAndMnemonics) {
    ScopedForm form;
    const std::wstring longText(2000, L'w');
    const std::wstring_view entries[] = {L"Open", L" ", L"Save", L"&Help", longText};
    Toolbar* toolbar = makeToolbar(*form, entries);
    const int first = toolbar->buttonId(0);
    EXPECT_EQ(buttonText(*toolbar, first), L"Open");
    EXPECT_EQ(buttonText(*toolbar, first + 1), L"");
    EXPECT_EQ(buttonText(*toolbar, first + 4), longText);
    // " " added no string: the next one added is the fifth.
    const wchar_t more[] = L"More\0";
    EXPECT_EQ(toolbar->sendMessage(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(more)), 4);

    // Alt+H presses and releases the button whose text holds "&H".
    std::vector<int> pressed;
    const ButtonHandler help[] = {[&](Toolbar& bar, int id) {
        pressed.push_back(id);
        EXPECT_EQ(bar.currentButton, 3);
    }};
    toolbar->assignButtonEvents(3, help);
    ASSERT_TRUE(form->ensureHandle());
    Message down{form->handle(), WM_SYSKEYDOWN, 'H', 0};
    Message up{form->handle(), WM_SYSKEYUP, 'H', 0};
    Message other{form->handle(), WM_SYSKEYUP, 'Q', 0};
    LRESULT result = -1;
    {
        const testing_gui::KeyHeld alt(VK_MENU);
        EXPECT_TRUE(translateKeys(*form, down, result));
        EXPECT_TRUE(translateKeys(*form, up, result));
        EXPECT_FALSE(translateKeys(*form, other, result));
    }
    EXPECT_EQ(pressed, std::vector<int>{first + 3});
    EXPECT_EQ(toolbar->lastCommand, first + 3);

    toolbar->clear();
    EXPECT_EQ(toolbar->sendMessage(TB_BUTTONCOUNT), 0);
    EXPECT_EQ(toolbar->addButtons({}, {}), -1);
}

TEST(Toolbar, OptionsAlignmentAndBitmapStrips) {
    ScopedForm form;
    ASSERT_TRUE(form->ensureHandle());
    form->setClientSize(400, 300);
    HBITMAP strip = CreateBitmap(176, 16, 1, 32, nullptr);
    const std::wstring_view one[] = {L" "};
    Toolbar* plain = newToolbar(*form, Align::Top, 0, strip, one, {});
    g_buttonsMade += 1;
    EXPECT_EQ(windowStyle(*plain) & (TBSTYLE_LIST | TBSTYLE_FLAT | CCS_TOP | CCS_NOPARENTALIGN),
              static_cast<DWORD>(TBSTYLE_LIST | CCS_TOP));
    const RECT top = plain->bounds(); // laid out along the top, its height its own
    EXPECT_EQ(top.left, 2);
    EXPECT_EQ(top.right, 398);
    auto images = reinterpret_cast<HIMAGELIST>(plain->sendMessage(TB_GETIMAGELIST));
    EXPECT_EQ(ImageList_GetImageCount(images), 11) << "square images cut from the strip";

    Toolbar* below = makeToolbar(*form, one, {}, Align::None, tbopt::kTextBelow | tbopt::kWrapping);
    EXPECT_EQ(windowStyle(*below) & (TBSTYLE_LIST | TBSTYLE_WRAPABLE),
              static_cast<DWORD>(TBSTYLE_WRAPABLE));
    below->bitmapWidth = -4; // nonsense widths add nothing rather than dividing by them
    EXPECT_FALSE(below->setBitmap(strip));
    DeleteObject(strip);

    // The toolbar keeps the bounds it is given instead of spreading over its parent.
    int resized = 0;
    below->setOnResize([&](Control&) { ++resized; });
    below->setBounds({10, 40, 210, 66});
    EXPECT_GT(resized, 0);
    EXPECT_EQ(below->bounds().right - below->bounds().left, 200);
}

TEST(Toolbar, CustomDrawPaintsTheBackgroundOrAsksTheHandler) {
    ScopedForm form;
    form->setClientSize(400, 100);
    Toolbar* toolbar = makeEditorToolbar(*form);
    toolbar->setBackgroundColor(RGB(255, 0, 0));
    toolbar->setOnCustomDraw({});
    showForm(*form);
    RedrawWindow(toolbar->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(toolbar->handle());
    EXPECT_EQ(GetPixel(dc, 380, 12), RGB(255, 0, 0)) << "right of the buttons";
    ReleaseDC(toolbar->handle(), dc);

    std::vector<DWORD> stages;
    toolbar->setOnCustomDraw([&](Toolbar&, NMCUSTOMDRAW& draw) -> LRESULT {
        stages.push_back(draw.dwDrawStage);
        return draw.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    });
    RedrawWindow(toolbar->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages.front(), static_cast<DWORD>(CDDS_PREPAINT));
    EXPECT_NE(std::find(stages.begin(), stages.end(), static_cast<DWORD>(CDDS_ITEMPREPAINT)),
              stages.end())
        << "the handler's answer reaches the toolbar";
}
