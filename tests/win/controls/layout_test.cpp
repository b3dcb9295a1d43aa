#include "controls/edit.h"
#include "support/gui.h"

#include <gtest/gtest.h>

using namespace ctl;
using testing_gui::ScopedForm;

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

    const RECT top = panel->bounds(), rest = edit->bounds();
    const RECT wantedTop{2, 2, 398, 28}, wantedRest{2, 30, 398, 298};
    EXPECT_TRUE(EqualRect(&top, &wantedTop));
    EXPECT_TRUE(EqualRect(&rest, &wantedRest));
}
