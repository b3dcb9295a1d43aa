#include "controls/edit.h"
#include "support/gui.h"

#include <gtest/gtest.h>

using namespace ctl;
using testing_gui::ScopedForm;

namespace {

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(Layout, TopPanelAndClientEditShareTheClientAreaWithGap) {
    ScopedForm form;
    Control* panel = newPanel(*form, EdgeStyle::None);
    panel->setHeight(26);
    panel->setAlign(Align::Top);
    Control* edit = newEdit(*form, editopt::kMultiLine);
    edit->setAlign(Align::Client);

    ASSERT_TRUE(form->ensureHandle());
    form->setClientSize(400, 300);
    testing_gui::pump();

    EXPECT_TRUE(sameRect(panel->bounds(), RECT{2, 2, 398, 28}));
    EXPECT_TRUE(sameRect(edit->bounds(), RECT{2, 30, 398, 298}));
}
