#include "controls/combo_box.h"
#include "controls/font.h"
#include "controls/items.h"
#include "support/shared_form.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace ctl;

namespace {

class ComboBox : public testing_gui::SharedFormTest {
protected:
    // A box as the editor's toolbar has them: Arial of height 14 makes it 22 pixels high.
    Control* makeBox(ComboOptions options, std::vector<const wchar_t*> items = {}) {
        Control* box = newComboBox(form(), options | comboopt::kNoIntegralHeight);
        box->font().setFaceName(L"Arial");
        box->font().setHeight(14);
        box->setPosition(10, 10);
        box->createWindow();
        for (const wchar_t* item : items)
            addItem(*box, item);
        return box;
    }
    // Counts onChange and remembers what the box showed when it ran.
    void watch(Control& box) {
        box.setOnChange({[this](Control& sender) {
            ++changes;
            seenIndex = currentIndex(sender);
            seenText = sender.text();
        }});
    }
    static HWND innerEdit(Control& box) { return GetWindow(box.handle(), GW_CHILD); }
    static bool dropped(Control& box) { return box.sendMessage(CB_GETDROPPEDSTATE) != 0; }

    int changes = 0;
    int seenIndex = -2;
    std::wstring seenText;
};

const std::vector<const wchar_t*> kSizes = {L"12", L"16", L"18", L"22", L"26", L"28",
                                            L"32", L"36", L"40", L"48", L"52", L"72"};

} // namespace

TEST_F(ComboBox, OptionsGiveTheStylesOfTheTwoFontBoxes) {
    Control* names = newComboBox(form(), 0x51);
    Control* sizes = newComboBox(form(), 0x10);
    EXPECT_EQ(names->style(), 0x50210743u | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(sizes->style(), 0x50210642u | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(newComboBox(form(), comboopt::kSimple)->style() & 0xFFFF, 0x0241u);
    names->createWindow();
    EXPECT_EQ(GetWindowLongW(names->handle(), GWL_STYLE) & 0xFFFF, 0x0743);
    const RECT r = newComboBox(form(), 0)->bounds();
    EXPECT_EQ(r.right - r.left, 100);
}

TEST_F(ComboBox, ChoosingAnEntryRunsOnChangeOrOnSelChangeOnceAfterTheSelection) {
    Control* box = makeBox(comboopt::kDropDownList, {L"Arial", L"Courier", L"Tahoma"});
    watch(*box);
    SetFocus(box->handle());
    ASSERT_EQ(GetFocus(), box->handle());

    SendMessageW(box->handle(), WM_KEYDOWN, VK_DOWN, 1);
    SendMessageW(box->handle(), WM_KEYUP, VK_DOWN, 0xC0000001);
    // The box has changed its selection but is still busy: the event comes from the queue.
    EXPECT_EQ(changes, 0);
    testing_gui::pump();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seenIndex, 1);
    EXPECT_EQ(seenText, L"Courier");

    // A selection made by code runs nothing.
    setCurrentIndex(*box, 2);
    testing_gui::pump();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box->text(), L"Tahoma");

    // Once onSelChange is assigned, the change goes there instead.
    int selections = 0;
    box->setOnSelChange({[&selections](Control&) { ++selections; }});
    SendMessageW(box->handle(), WM_KEYDOWN, VK_UP, 1);
    testing_gui::pump();
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboBox, TypingInAnEditableBoxRunsOnChangeForEachEdit) {
    Control* box = makeBox(0, kSizes);
    watch(*box);
    HWND edit = innerEdit(*box);
    ASSERT_TRUE(edit);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, L'3', 1);
    SendMessageW(edit, WM_CHAR, L'0', 1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box->text(), L"30");
    // Tab typed into the edit part inserts nothing.
    SendMessageW(edit, WM_CHAR, VK_TAB, 1);
    EXPECT_EQ(box->text(), L"30");
}

TEST_F(ComboBox, OpenListHasRoomForItsEntriesUpToEight) {
    int dropDowns = 0;
    for (std::size_t count : {std::size_t{0}, kSizes.size()}) {
        Control* box = makeBox(comboopt::kDropDownList,
                               std::vector<const wchar_t*>(kSizes.begin(), kSizes.begin() + count));
        box->setOnDropDown({[&dropDowns](Control&) { ++dropDowns; }});
        RECT closed{};
        GetWindowRect(box->handle(), &closed);
        ASSERT_EQ(closed.bottom - closed.top, 22);
        // The height the box is given for box and list together (the platform keeps the box
        // itself at 22 and may fit the list to fewer entries).
        int requested = 0;
        box->setOnMessage({[&requested](Message& message, LRESULT&) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.lParam);
            if (message.message == WM_WINDOWPOSCHANGING && !(pos->flags & SWP_NOSIZE))
                requested = std::max(requested, pos->cy);
            return false;
        }});

        box->sendMessage(CB_SHOWDROPDOWN, TRUE);
        EXPECT_EQ(requested, count == 0 ? 46 : 200) << count << " items";
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(box->handle(), &info));
        RECT list{};
        GetWindowRect(info.hwndList, &list);
        if (count == 0) {
            EXPECT_EQ(list.bottom - closed.top, 46);
        }
        box->sendMessage(CB_SHOWDROPDOWN, FALSE);
        box->release();
    }
    EXPECT_EQ(dropDowns, 2);
}

TEST_F(ComboBox, EscapeInTheEditPartRestoresTheSelectionEnterKeepsTheNewOne) {
    Control* box = makeBox(0, kSizes);
    HWND edit = innerEdit(*box);
    SetFocus(edit);
    for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
        setCurrentIndex(*box, 1);
        box->sendMessage(CB_SHOWDROPDOWN, TRUE);
        ASSERT_TRUE(dropped(*box));
        setCurrentIndex(*box, 4);
        SendMessageW(edit, WM_CHAR, key, 1);
        EXPECT_FALSE(dropped(*box));
        EXPECT_EQ(currentIndex(*box), key == VK_ESCAPE ? 1 : 4);
    }
}

TEST_F(ComboBox, FirstItemAddedToAnEmptyBoxBecomesTheSelection) {
    Control* names = makeBox(comboopt::kDropDownList | comboopt::kSorted, {L"Tahoma"});
    EXPECT_EQ(currentIndex(*names), 0);
    addItem(*names, L"Arial");
    // Sorted in before it: the selection stays on the first name added.
    EXPECT_EQ(currentIndex(*names), 1);
    EXPECT_EQ(names->text(), L"Tahoma");

    Control* sizes = makeBox(0, kSizes);
    EXPECT_EQ(currentIndex(*sizes), 0);
    EXPECT_EQ(sizes->text(), L"12");

    // Adding to a box whose selection was taken away leaves it without one.
    Control* chosen = makeBox(comboopt::kDropDownList, {L"a"});
    setCurrentIndex(*chosen, -1);
    addItem(*chosen, L"b");
    EXPECT_EQ(currentIndex(*chosen), -1);
}

TEST_F(ComboBox, ItemOperationsOnEntries) {
    Control* box = makeBox(comboopt::kDropDownList, {L"Arial", L"Courier New", L"Tahoma"});
    EXPECT_EQ(itemCount(*box), 3);
    EXPECT_EQ(itemText(*box, 1), L"Courier New");
    EXPECT_EQ(itemText(*box, 7), L"");

    EXPECT_EQ(findItem(*box, L"tahoma"), 2);
    EXPECT_EQ(findItem(*box, L"Courier"), -1);
    EXPECT_EQ(findItem(*box, L"cour", -1, true), 1);
    EXPECT_EQ(findItem(*box, L"Arial", 0), 0); // wraps around after the start
    EXPECT_EQ(findItem(*box, L"Verdana"), -1);

    setCurrentIndex(*box, 1);
    box->sendMessage(CB_SETITEMDATA, 1, 77);
    setItemText(*box, 1, L"Courier");
    EXPECT_EQ(itemText(*box, 1), L"Courier");
    EXPECT_EQ(box->sendMessage(CB_GETITEMDATA, 1), 77);
    EXPECT_EQ(currentIndex(*box), 1);
    setItemText(*box, 3, L"Verdana");
    EXPECT_EQ(itemCount(*box), 4);
    EXPECT_EQ(itemText(*box, 3), L"Verdana");

    deleteItem(*box, 0);
    EXPECT_EQ(itemText(*box, 0), L"Courier");
    clearItems(*box);
    EXPECT_EQ(itemCount(*box), 0);
    EXPECT_EQ(currentIndex(*box), -1);
}

TEST_F(ComboBox, InnerWindowsAreColouredLikeTheBox) {
    Control* box = makeBox(0, kSizes);
    box->setBackgroundColor(RGB(250, 240, 200));
    box->setTextColor(RGB(10, 20, 30));
    HDC dc = GetDC(box->handle());
    const auto edit = reinterpret_cast<LPARAM>(innerEdit(*box));
    const auto dcParam = reinterpret_cast<WPARAM>(dc);
    EXPECT_EQ(box->sendMessage(WM_CTLCOLOREDIT, dcParam, edit),
              reinterpret_cast<LRESULT>(box->backgroundBrush()));
    EXPECT_EQ(GetBkColor(dc), RGB(250, 240, 200));
    EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30));

    // See-through boxes still draw the text being edited on their own colour.
    box->setTransparent(true);
    SetBkColor(dc, 0);
    EXPECT_EQ(box->sendMessage(WM_CTLCOLOREDIT, dcParam, edit),
              reinterpret_cast<LRESULT>(box->backgroundBrush()));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetBkColor(dc), RGB(250, 240, 200));
    EXPECT_EQ(box->sendMessage(WM_CTLCOLORSTATIC, dcParam, edit),
              reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    ReleaseDC(box->handle(), dc);
}

namespace {

// What the box's edit part carried when it received WM_DESTROY.
HWND g_watchedInner = nullptr;
bool g_innerDestroyed = false;
bool g_innerStillSubclassed = false;

LRESULT CALLBACK watchInnerDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == g_watchedInner && call->message == WM_DESTROY) {
        g_innerDestroyed = true;
        g_innerStillSubclassed = GetPropW(call->hwnd, L"PREV_PROC") != nullptr;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(ComboBox, FreedBoxGivesItsEditPartItsOwnProcedureBackBeforeItGoes) {
    Control* box = makeBox(0);
    g_watchedInner = innerEdit(*box);
    ASSERT_NE(g_watchedInner, nullptr);
    ASSERT_NE(GetPropW(g_watchedInner, L"PREV_PROC"), nullptr) << "the layer watches its input";
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, watchInnerDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    box->release();
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(g_innerDestroyed);
    EXPECT_FALSE(g_innerStillSubclassed);
}
