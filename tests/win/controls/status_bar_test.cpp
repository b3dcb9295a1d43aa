#include "controls/edit.h"
#include "controls/font.h"
#include "controls/status_bar.h"
#include "support/gui.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ctl;
using testing_gui::height;
using testing_gui::ScopedForm;
using testing_gui::width;

namespace {

std::wstring partText(Control& bar, int part) {
    const auto length = LOWORD(bar.sendMessage(SB_GETTEXTLENGTHW, part));
    std::wstring text(length + 1u, L'\0');
    bar.sendMessage(SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

std::vector<int> partEdges(Control& bar) {
    std::vector<int> edges(static_cast<std::size_t>(bar.sendMessage(SB_GETPARTS)));
    bar.sendMessage(SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

// A hidden form with a client-aligned edit field, 400 x 300 inside.
class StatusBar : public ::testing::Test {
protected:
    void SetUp() override {
        edit = newEdit(*form, editopt::kMultiLine);
        edit->setAlign(Align::Client);
        ASSERT_TRUE(form->ensureHandle());
        form->setClientSize(400, 300);
    }
    ScopedForm form;
    Control* edit = nullptr;
};

} // namespace

TEST_F(StatusBar, FirstTextCreatesTheBarBelowAnUnchangedAreaAndItFollowsTheWidth) {
    setStatusText(*form, 0, L" Dawatik 1.4");
    Control* bar = form->statusBar;
    ASSERT_NE(bar, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(bar->handle(), className, 64);
    EXPECT_EQ(std::wstring(className), std::wstring(L"obj_") + STATUSCLASSNAMEW);
    EXPECT_TRUE(GetWindowLongW(bar->handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_EQ(partEdges(*bar).size(), 1u);
    EXPECT_EQ(partText(*bar, 0), L" Dawatik 1.4");

    // The form grew by the bar, so the area above it kept its size; the layout stops there.
    const int barHeight = height(bar->bounds());
    ASSERT_GT(barHeight, 0);
    const RECT client = form->clientRect();
    EXPECT_EQ(height(client), 300 + barHeight);
    EXPECT_EQ(form->margins().bottom, barHeight);
    EXPECT_EQ(bar->bounds().top, client.bottom - barHeight);
    EXPECT_EQ(width(bar->bounds()), width(client));
    EXPECT_EQ(edit->bounds().bottom, client.bottom - barHeight - form->gap());

    // A second text reuses the bar.
    setStatusText(*form, 0, L"C:\\docs\\a.txt");
    EXPECT_EQ(form->statusBar, bar);
    EXPECT_EQ(partText(*bar, 0), L"C:\\docs\\a.txt");
    setStatusText(*form, 0, L"");
    EXPECT_EQ(partText(*bar, 0), L"");

    // The bar follows the form's width.
    form->setClientSize(600, 300);
    testing_gui::pump();
    EXPECT_EQ(width(bar->bounds()), 600);
    EXPECT_EQ(bar->bounds().bottom, form->clientRect().bottom);
}

TEST_F(StatusBar, HigherIndexSplitsTheBarIntoEqualParts) {
    setStatusText(*form, 0, L"first");
    setStatusText(*form, 2, L"third");
    Control* bar = form->statusBar;
    const int part = width(form->clientRect()) / 3;
    EXPECT_EQ(partEdges(*bar), (std::vector<int>{part, 2 * part, -1}));
    EXPECT_EQ(partText(*bar, 2), L"third");
    EXPECT_EQ(partText(*bar, 0), L"first");

    // Parts that exist are written without splitting again.
    setStatusText(*form, 1, L"second");
    EXPECT_EQ(partEdges(*bar), (std::vector<int>{part, 2 * part, -1}));
    EXPECT_EQ(partText(*bar, 1), L"second");

    setStatusText(*form, 255, L"simple");
    EXPECT_TRUE(bar->sendMessage(SB_ISSIMPLE));
    setStatusText(*form, 0, L"parts again");
    EXPECT_FALSE(bar->sendMessage(SB_ISSIMPLE));
}

TEST_F(StatusBar, ABarTallerThanAByteKeepsItsWholeHeightAsTheMargin) {
    form->font().setFaceName(L"Arial");
    form->font().setHeight(150); // the bar takes its form's font and grows with it
    setStatusText(*form, 0, L"tall");
    const int barHeight = height(form->statusBar->bounds());
    ASSERT_GT(barHeight, 127);
    EXPECT_EQ(form->margins().bottom, barHeight);
    EXPECT_EQ(edit->bounds().bottom, form->clientRect().bottom - barHeight - form->gap());
}
