// Control objects: deferred creation, identifiers, default bounds, ownership and lifetime.

#include "controls/edit.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ctl;
using testing_gui::ScopedForm;

TEST(ControlCreation, ChildWithoutSizeIs64By64AtGapPlusMargin) {
    ScopedForm form;
    form->setGap(3);
    form->setMargins({.top = 5, .bottom = 0, .left = 7, .right = 0});
    Control* child = newPanel(*form, EdgeStyle::None);
    child->setWidthHeight(0, 0); // keeps the default size
    Control* plain = newControl(*form, L"STATIC", WS_CHILD | WS_VISIBLE, noActions(), false);

    ASSERT_TRUE(form->ensureHandle());
    const RECT r = plain->bounds();
    EXPECT_EQ(r.left, 3 + 7);
    EXPECT_EQ(r.top, 3 + 5);
    EXPECT_EQ(r.right - r.left, 64);
    EXPECT_EQ(r.bottom - r.top, 64);
    EXPECT_EQ(child->bounds().right - child->bounds().left, 100) << "panels are 100 wide";
}

TEST(ControlCreation, ChildIdentifiersFollowCreationOrderAndReachTheWindow) {
    ScopedForm form;
    Control* a = newPanel(*form, EdgeStyle::None);
    Control* b = newEdit(*form, 0);
    Control* c = newPanel(*a, EdgeStyle::None);
    EXPECT_GE(a->id(), 0x8000u);
    EXPECT_EQ(b->id(), a->id() + 1);
    EXPECT_EQ(c->id(), a->id() + 2);

    ASSERT_TRUE(form->ensureHandle());
    EXPECT_EQ(static_cast<UINT_PTR>(GetDlgCtrlID(b->handle())), b->id());
    EXPECT_EQ(static_cast<UINT_PTR>(GetDlgCtrlID(c->handle())), c->id());
    EXPECT_EQ(GetParent(c->handle()), a->handle());
}

TEST(ControlCreation, ClassesArePrefixedAndWrapTheSystemClass) {
    ScopedForm form;
    Control* edit = newEdit(*form, 0);
    ASSERT_TRUE(edit->ensureHandle());
    wchar_t name[64] = {};
    GetClassNameW(edit->handle(), name, 64);
    EXPECT_EQ(std::wstring(name), L"obj_EDIT");
    GetClassNameW(form->handle(), name, 64);
    EXPECT_EQ(std::wstring(name), L"obj_Form");
    // The wrapped class still behaves as an edit control.
    SendMessageW(edit->handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    EXPECT_EQ(SendMessageW(edit->handle(), WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_EQ(Control::fromHandle(edit->handle()), edit);
}

TEST(ControlCreation, SendingAMessageCreatesTheWindowsHiddenUntilTheFormShows) {
    ScopedForm form;
    Control* panel = newPanel(*form, EdgeStyle::None);
    panel->setAlign(Align::Client);
    Control* edit = newEdit(*panel, editopt::kMultiLine);
    edit->setAlign(Align::Client);
    edit->sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));

    ASSERT_TRUE(edit->handle());
    ASSERT_TRUE(form->handle()) << "the parent windows are created first";
    EXPECT_FALSE(IsWindowVisible(form->handle()));
    EXPECT_FALSE(edit->visible());
    EXPECT_TRUE(form->flags().createdHidden);

    // Showing the form shows the grandchild created hidden on demand as well.
    ASSERT_TRUE(form->createWindow());
    EXPECT_TRUE(IsWindowVisible(form->handle()));
    EXPECT_TRUE(IsWindowVisible(panel->handle()));
    EXPECT_TRUE(IsWindowVisible(edit->handle()));
    EXPECT_FALSE(form->flags().createdHidden);
    EXPECT_FALSE(edit->flags().createdHidden);
}

TEST(ControlCreation, ZeroDimensionUsesTheSystemDefaultSize) {
    ScopedForm form;
    form->setSize(0, 0);
    ASSERT_TRUE(form->ensureHandle());
    RECT r{};
    GetWindowRect(form->handle(), &r);
    // CW_USEDEFAULT gives a real size, never a zero-sized window.
    EXPECT_GT(r.right - r.left, 50);
    EXPECT_GT(r.bottom - r.top, 50);

    ScopedForm sized;
    sized->setSize(300, 0);
    ASSERT_TRUE(sized->ensureHandle());
    GetWindowRect(sized->handle(), &r);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_GT(r.bottom - r.top, 50);
}

TEST(ControlCreation, ChildWithoutParentWindowIsNotCreated) {
    Control* orphan = nullptr;
    {
        ScopedForm form;
        orphan = newPanel(*form, EdgeStyle::None);
        orphan->setParent(nullptr);
    }
    EXPECT_FALSE(orphan->createWindow());
    EXPECT_EQ(orphan->handle(), nullptr);
    orphan->release();
}

TEST(ControlLifetime, DestroyingAFormDestroysChildrenInCreationOrder) {
    std::vector<std::wstring> order;
    HWND editWindow = nullptr;
    {
        ScopedForm form;
        Control* first = newPanel(*form, EdgeStyle::None);
        Control* second = newEdit(*form, 0);
        first->onDestroy = [&](Object&) { order.push_back(L"first"); };
        second->onDestroy = [&](Object&) { order.push_back(L"second"); };
        form->onDestroy = [&](Object&) { order.push_back(L"form"); };
        ASSERT_TRUE(form->ensureHandle());
        editWindow = second->handle();
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"form", L"first", L"second"}));
    EXPECT_FALSE(IsWindow(editWindow));
}

TEST(ControlLifetime, FreedInsideItsOwnHandlerItDiesAfterTheDispatch) {
    ScopedForm form;
    Control* edit = newEdit(*form, 0);
    ASSERT_TRUE(form->ensureHandle());
    bool destroyed = false;
    bool aliveAfterFree = false;
    edit->onDestroy = [&](Object&) { destroyed = true; };
    edit->setOnMessage([&](Message& message, LRESULT&) {
        if (message.message != WM_APP)
            return false;
        edit->release();
        aliveAfterFree = !destroyed && edit->handle() != nullptr;
        return false; // the rest of the dispatch still runs on a live object
    });
    HWND window = edit->handle();
    SendMessageW(window, WM_APP, 0, 0);
    EXPECT_TRUE(aliveAfterFree);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(form->children().empty());
}

TEST(ControlText, SetBeforeCreationReachesTheWindowAndReadsBack) {
    ScopedForm form;
    Control* edit = newEdit(*form, 0);
    edit->setText(L"\x0633\x0644\x0627\x0645");
    ASSERT_TRUE(form->ensureHandle());
    EXPECT_EQ(testing_gui::windowText(edit->handle()), L"\x0633\x0644\x0627\x0645");
    SetWindowTextW(edit->handle(), L"typed");
    EXPECT_EQ(edit->text(), L"typed");
}

TEST(ControlBorder, SwitchingTheBorderOffAndOnChangesTheWindowsFrame) {
    ScopedForm form;
    Control* edit = newEdit(*form, editopt::kMultiLine);
    ASSERT_TRUE(edit->exStyle() & WS_EX_CLIENTEDGE) << "3-D look replaces WS_BORDER";
    edit->setBorder(false);
    ASSERT_TRUE(form->ensureHandle());
    EXPECT_FALSE(GetWindowLongW(edit->handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongW(edit->handle(), GWL_STYLE) & WS_TABSTOP)
        << "a child keeps its tab stop";
    edit->setBorder(true);
    EXPECT_TRUE(GetWindowLongW(edit->handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}
