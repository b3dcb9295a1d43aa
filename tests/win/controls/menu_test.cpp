// Menus on real windows: the native menu bar built from the editor's template, command
// dispatch with check and radio marks, item state, and the accelerator table.

#include "controls/application.h"
#include "controls/edit.h"
#include "controls/menu.h"
#include "support/gui.h"
#include "support/keys.h"
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ctl;
using testing_gui::ScopedForm;

namespace {

constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;

// The editor's shortcuts: item index and key, all with Ctrl.
struct Shortcut {
    int itemIndex;
    WORD key;
};
constexpr Shortcut kShortcuts[] = {{1, 'N'},  {2, 'O'},     {3, 'S'},          {10, 'X'}, {11, 'C'},
                                   {15, 'A'}, {18, VK_ADD}, {19, VK_SUBTRACT}, {21, '0'}};

struct NativeItem {
    std::wstring text;
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU subMenu = nullptr;
};

NativeItem nativeItem(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 127;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << position;
    return {text, info.fType, info.fState, info.wID, info.hSubMenu};
}

UINT nativeState(Menu& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_FTYPE;
    EXPECT_TRUE(GetMenuItemInfoW(item.parent()->handle(), item.commandId(), FALSE, &info));
    return info.fState;
}

// The editor's menu bar with its shortcuts.
Menu* editorMenuWithShortcuts(Form& form) {
    Menu* menu = newMenu(&form, app::kMainMenuTemplate);
    for (const Shortcut& s : kShortcuts)
        menu->setAccelerator(s.itemIndex, {kCtrl, s.key});
    return menu;
}

LRESULT choose(Control& owner, Menu& item, bool byShortcut = false) {
    return SendMessageW(owner.handle(), WM_COMMAND,
                        MAKEWPARAM(item.commandId(), byShortcut ? 1 : 0), 0);
}

} // namespace

TEST(Menu, EditorTemplateBuildsTheNativeMenuBar) {
    ScopedForm form;
    Menu* menu = newMenu(form.get(), app::kMainMenuTemplate);
    ASSERT_TRUE(form->ensureHandle());
    HMENU bar = GetMenu(form->handle());
    ASSERT_EQ(bar, menu->handle());
    EXPECT_EQ(menu->itemCount(), 29);
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    const wchar_t* bars[] = {L"File", L"Edit", L"View", L"Help"};
    for (UINT i = 0; i < 4; ++i) {
        EXPECT_EQ(nativeItem(bar, i).text, bars[i]);
        EXPECT_EQ(nativeItem(bar, i).subMenu, menu->items()[i]->handle());
    }

    HMENU file = menu->items()[0]->handle();
    ASSERT_EQ(GetMenuItemCount(file), 6);
    const NativeItem save = nativeItem(file, 2);
    EXPECT_EQ(save.text, L"Save\tCtrl+S");
    EXPECT_EQ(save.type & (MFT_SEPARATOR | MFT_RADIOCHECK), 0u);
    EXPECT_EQ(save.state & (MFS_CHECKED | MFS_GRAYED), 0u);
    EXPECT_TRUE(nativeItem(file, 4).type & MFT_SEPARATOR);
    const UINT first = menu->item(0)->commandId();
    EXPECT_EQ(save.id, first + 3);
    EXPECT_EQ(menu->item(first + 3), menu->item(3));

    // View > Text Align: two radio items, Right checked.
    const NativeItem align = nativeItem(menu->items()[2]->handle(), 1);
    EXPECT_EQ(align.text, L"Text Align");
    const NativeItem right = nativeItem(align.subMenu, 0);
    const NativeItem center = nativeItem(align.subMenu, 1);
    EXPECT_EQ(right.text, L"Right");
    EXPECT_EQ(center.text, L"Center");
    EXPECT_TRUE(right.type & center.type & MFT_RADIOCHECK);
    EXPECT_TRUE(right.state & MFS_CHECKED);
    EXPECT_FALSE(center.state & MFS_CHECKED);
    EXPECT_EQ(center.id, first + 24);
}

TEST(Menu, ChoosingCenterMovesTheRadioMarkBeforeItsHandlerRuns) {
    ScopedForm form;
    Menu* menu = newMenu(form.get(), app::kMainMenuTemplate);
    ASSERT_TRUE(form->ensureHandle());
    Menu* right = menu->item(23);
    Menu* center = menu->item(24);

    std::vector<std::string> seen;
    auto record = [&](Menu& root, int index) {
        EXPECT_EQ(&root, menu);
        const bool rightOn = nativeState(*right) & MFS_CHECKED;
        const bool centerOn = nativeState(*center) & MFS_CHECKED;
        seen.push_back(std::to_string(index) + (rightOn ? " R" : " -") + (centerOn ? "C" : "-") +
                       (root.byAccelerator() ? " key" : " menu"));
    };
    const MenuItemHandler handlers[] = {record, record};
    menu->assignEvents(23, handlers);

    EXPECT_EQ(choose(*form, *center), 0);
    EXPECT_EQ(choose(*form, *center, true), 0);
    EXPECT_EQ(choose(*form, *right, true), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"24 -C menu", "24 -C key", "23 R- key"}));
    EXPECT_TRUE(right->state(MFS_CHECKED));
    EXPECT_FALSE(center->state(MFS_CHECKED));
}

TEST(Menu, CheckableItemsToggleAndRootHandlerServesItemsWithoutTheirOwn) {
    ScopedForm form;
    std::vector<int> rootCalls;
    Menu* menu = newMenu(form.get(),
                         std::vector<std::wstring_view>{L"Options", L"(", L"+Wrap", L"-Bold", L")"},
                         [&](Menu&, int index) { rootCalls.push_back(index); });
    ASSERT_TRUE(form->ensureHandle());
    Menu* wrap = menu->item(1);
    Menu* bold = menu->item(2);
    std::vector<bool> wrapSeen;
    wrap->onItem = [&](Menu&, int) { wrapSeen.push_back(nativeState(*wrap) & MFS_CHECKED); };

    choose(*form, *wrap);
    choose(*form, *wrap);
    choose(*form, *bold);
    EXPECT_EQ(wrapSeen, (std::vector<bool>{false, true}));
    EXPECT_TRUE(nativeState(*bold) & MFS_CHECKED);
    EXPECT_EQ(rootCalls, std::vector<int>{2});

    // A command of no menu item goes on to default processing.
    EXPECT_EQ(SendMessageW(form->handle(), WM_COMMAND, MAKEWPARAM(3, 0), 0), 0);
    EXPECT_EQ(rootCalls, std::vector<int>{2});
}

TEST(Menu, StateMasksReadAndWriteTheNativeItem) {
    ScopedForm form;
    Menu* menu = newMenu(form.get(), app::kMainMenuTemplate);
    Menu* save = menu->item(3);
    save->setState(MFS_GRAYED, true);
    EXPECT_EQ(nativeState(*save) & MFS_GRAYED, static_cast<UINT>(MFS_GRAYED));
    EXPECT_FALSE(save->state(kInvertedMask | MFS_GRAYED));
    save->setState(kInvertedMask | MFS_GRAYED, true); // "not grayed": enabled
    EXPECT_EQ(nativeState(*save) & MFS_GRAYED, 0u);
    // A change behind the object's back is read from the native item.
    EnableMenuItem(menu->items()[0]->handle(), save->commandId(), MF_BYCOMMAND | MF_GRAYED);
    EXPECT_TRUE(save->state(MFS_GRAYED));
    // Set checked knows no groups: both radio items end up checked.
    menu->setChecked(24, true);
    EXPECT_TRUE(menu->item(23)->state(MFS_CHECKED) && menu->item(24)->state(MFS_CHECKED));
}

TEST(Menu, FurtherMenusAreChainedPopUpsWhoseCommandsStillDispatch) {
    ScopedForm form;
    Menu* bar = newMenu(form.get(), std::vector<std::wstring_view>{L"File", L"(", L"New", L")"});
    int chosen = -1;
    Menu* popup = newMenu(form.get(), std::vector<std::wstring_view>{L"Cut", L"Copy"},
                          [&](Menu& root, int index) {
                              EXPECT_NE(&root, bar);
                              chosen = index;
                          });
    Control* panel = newPanel(*form, EdgeStyle::None);
    Menu* context = newMenu(panel, std::vector<std::wstring_view>{L"Paste"});
    ASSERT_TRUE(form->ensureHandle());

    EXPECT_EQ(bar->next(), popup);
    EXPECT_EQ(GetMenu(form->handle()), bar->handle());
    EXPECT_TRUE(IsMenu(popup->handle()));
    EXPECT_EQ(GetMenuItemCount(popup->handle()), 2);
    EXPECT_EQ(panel->menu(), context);
    EXPECT_EQ(popup->item(0)->commandId(), bar->item(1)->commandId() + 1);

    choose(*form, *popup->item(1));
    EXPECT_EQ(chosen, 1);

    // Freeing the bar takes the chained menu with it and leaves the window without a menu.
    const HMENU popupHandle = popup->handle();
    bar->release();
    EXPECT_EQ(form->menu(), nullptr);
    EXPECT_EQ(GetMenu(form->handle()), nullptr);
    EXPECT_FALSE(IsMenu(popupHandle));
}

TEST(Menu, FreedItemsLeaveTheNativeMenuAndEveryMenuIsDestroyedOnce) {
    ScopedForm form;
    Menu* menu = newMenu(form.get(), app::kMainMenuTemplate);
    ASSERT_TRUE(form->ensureHandle());
    Menu* edit = menu->item(7);
    HMENU editPopup = edit->handle();
    const UINT cutId = menu->item(10)->commandId();
    menu->item(10)->release();
    EXPECT_EQ(GetMenuItemCount(editPopup), 7);
    EXPECT_EQ(menu->item(cutId), nullptr);
    EXPECT_EQ(menu->item(10)->caption(), L"Copy\tCtrl+C");
    edit->release(); // a whole sub-menu: its pop-up leaves the bar and is destroyed
    EXPECT_EQ(GetMenuItemCount(GetMenu(form->handle())), 3);
    EXPECT_FALSE(IsMenu(editPopup));

    // The window takes its menu bar along; the menu object then destroys nothing twice.
    const HMENU bar = menu->handle();
    DestroyWindow(form->handle());
    EXPECT_FALSE(IsMenu(bar));
    form.release()->release();
    // A menu whose form never got a window is destroyed by the menu itself.
    Form* unshown = newForm(nullptr, L"Never shown");
    const HMENU never = newMenu(unshown, app::kMainMenuTemplate)->handle();
    EXPECT_TRUE(IsMenu(never));
    unshown->release();
    EXPECT_FALSE(IsMenu(never));
}

TEST(MenuAccelerators, EditorShortcutsMakeOneTableOfNineEntries) {
    ScopedForm form;
    Menu* menu = editorMenuWithShortcuts(*form);

    HACCEL table = form->acceleratorTable();
    ASSERT_NE(table, nullptr);
    ACCEL entries[16] = {};
    ASSERT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 9);
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 16), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(entries[i].fVirt, kCtrl);
        EXPECT_EQ(entries[i].key, kShortcuts[i].key);
        EXPECT_EQ(entries[i].cmd, LOWORD(menu->item(kShortcuts[i].itemIndex)->commandId()));
    }

    // The same shortcut again rebuilds nothing; a changed one rebuilds the whole table.
    menu->setAccelerator(menu->item(3)->commandId(), {kCtrl, 'S'});
    EXPECT_EQ(form->acceleratorTable(), table);
    menu->setAccelerator(3, {kCtrl | FSHIFT, 'S'});
    EXPECT_NE(form->acceleratorTable(), table);
    EXPECT_EQ(CopyAcceleratorTableW(form->acceleratorTable(), nullptr, 0), 9);

    // Clearing every shortcut leaves no table at all.
    for (const Shortcut& s : kShortcuts)
        menu->setAccelerator(s.itemIndex, {});
    EXPECT_EQ(form->acceleratorTable(), nullptr);
}

TEST(MenuAccelerators, KeysInAFocusedEditReachTheFormsMenuThroughTheTable) {
    ScopedForm form;
    Menu* menu = editorMenuWithShortcuts(*form);
    std::vector<int> chosen;
    std::vector<MenuItemHandler> handlers(29, [&](Menu& root, int index) {
        EXPECT_TRUE(root.byAccelerator());
        chosen.push_back(index);
    });
    menu->assignEvents(0, handlers);
    Control* edit = newEdit(*form, editopt::kMultiLine);
    showForm(*form);
    SetFocus(edit->handle());
    ASSERT_EQ(GetFocus(), edit->handle());

    {
        const testing_gui::KeyHeld ctrl(VK_CONTROL);
        for (WPARAM key :
             {WPARAM{VK_ADD}, WPARAM{VK_OEM_PLUS}, WPARAM{'0'}, WPARAM{VK_NUMPAD0}, WPARAM{'S'}})
            SendMessageW(edit->handle(), WM_KEYDOWN, key, 1);
    }
    EXPECT_EQ(chosen, (std::vector<int>{18, 21, 3}));

    // Without Ctrl the same keys are typing, not shortcuts.
    chosen.clear();
    SendMessageW(edit->handle(), WM_KEYDOWN, 'S', 1);
    EXPECT_TRUE(chosen.empty());

    // Through the loop a key becomes characters before its window sees it: a key that runs a
    // command must not type them as well, while other keys still type.
    const auto press = [&](WPARAM key) {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16;
        PostMessageW(edit->handle(), WM_KEYDOWN, key, scan | 1);
        processMessages(*form);
    };
    {
        const testing_gui::KeyHeld ctrl(VK_CONTROL);
        press(VK_ADD);
        press('S');
    }
    EXPECT_EQ(chosen, (std::vector<int>{18, 3}));
    EXPECT_EQ(edit->text(), L"");

    chosen.clear();
    press(VK_ADD);
    press('S');
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(edit->text(), L"+s");
}
