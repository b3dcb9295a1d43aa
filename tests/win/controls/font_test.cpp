// Font objects, background brushes and drawing surfaces.

#include "controls/edit.h"
#include "controls/font.h"
#include "controls/surface.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ctl;
using testing_gui::ScopedForm;

namespace {

HFONT windowFont(const Control& control) {
    return reinterpret_cast<HFONT>(SendMessageW(control.handle(), WM_GETFONT, 0, 0));
}

LOGFONTW fontOf(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    return description;
}

} // namespace

TEST(FontObject, ChildSharesItsParentsFontUntilEitherChanges) {
    ScopedForm form;
    form->font().setFaceName(L"Arial");
    form->font().setHeight(14);
    Control* edit = newEdit(*form, 0);
    ASSERT_TRUE(form->ensureHandle());
    ASSERT_NE(edit->fontIfAny(), nullptr);
    const HFONT shared = form->font().handle();
    EXPECT_EQ(edit->fontIfAny()->handle(), shared);
    EXPECT_EQ(windowFont(*edit), shared);

    // The parent's change leaves the child's window with the font it was given, still alive.
    form->font().setHeight(20);
    EXPECT_EQ(windowFont(*edit), shared);
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT)) << "deleted under the edit";
    EXPECT_EQ(fontOf(shared).lfHeight, 14);
    EXPECT_EQ(fontOf(form->font().handle()).lfHeight, 20);

    edit->font().setHeight(22);
    EXPECT_NE(edit->font().handle(), form->font().handle());
    EXPECT_EQ(windowFont(*edit), edit->font().handle());
    EXPECT_EQ(fontOf(windowFont(*edit)).lfHeight, 22);
    EXPECT_EQ(edit->font().faceName(), L"Arial");
    EXPECT_EQ(form->font().height(), 20) << "the parent keeps its own description";
}

TEST(FontObject, ChangesSwitchTheWindowBeforeTheOldFontGoes) {
    ScopedForm form;
    Control* edit = newEdit(*form, 0);
    ASSERT_TRUE(form->ensureHandle());
    edit->font().setFaceName(L"Arial");
    const HFONT before = edit->font().handle();
    ASSERT_EQ(windowFont(*edit), before);

    std::vector<HFONT> sent;
    edit->setOnMessage([&](Message& message, LRESULT&) {
        if (message.message == WM_SETFONT)
            sent.push_back(reinterpret_cast<HFONT>(message.wParam));
        return false;
    });
    edit->font().setHeight(edit->font().height());
    EXPECT_TRUE(sent.empty()) << "an unchanged value sends nothing";

    edit->font().setFaceName(L"Tahoma");
    const HFONT after = windowFont(*edit);
    ASSERT_FALSE(sent.empty());
    for (HFONT font : sent)
        EXPECT_EQ(font, after) << "only the new font is ever sent";
    EXPECT_EQ(GetObjectType(before), 0u) << "the old font is deleted";
    EXPECT_EQ(fontOf(after).lfFaceName, std::wstring(L"Tahoma"));
}

TEST(FontObject, BoldRaisesAndClearsTheWeight) {
    ScopedForm form;
    Font& font = form->font();
    font.setWeight(400);
    font.setStyle(fontstyle::kBold);
    EXPECT_EQ(font.description().lfWeight, 700);
    font.setWeight(800);
    font.setStyle(fontstyle::kItalic);
    EXPECT_EQ(font.description().lfWeight, 0);
    EXPECT_EQ(font.description().lfItalic, 1);
    EXPECT_EQ(font.style(), fontstyle::kItalic);
}

TEST(FontObject, FaceNamesAreCutToWhatTheDescriptionHolds) {
    ScopedForm form;
    form->font().setFaceName(L"A face name that is much longer than thirty-one units");
    EXPECT_EQ(form->font().faceName().size(), 31u);
    EXPECT_EQ(form->font().description().lfFaceName[31], L'\0');
}

TEST(Brushes, PanelAndChildShareOneBrushUntilTheChildsColourChanges) {
    ScopedForm form;
    Control* panel = newPanel(*form, EdgeStyle::None);
    panel->setBackgroundColor(kButtonShadowColor);
    Control* child = newPanel(*panel, EdgeStyle::None);
    EXPECT_EQ(child->backgroundColor(), kButtonShadowColor) << "children take the parent colour";
    const HBRUSH shared = panel->backgroundBrush();
    EXPECT_EQ(child->backgroundBrush(), shared);

    child->setBackgroundColor(kWindowColor);
    const HBRUSH own = child->backgroundBrush();
    EXPECT_NE(own, shared);
    EXPECT_EQ(panel->backgroundBrush(), shared) << "the parent keeps its brush";
    LOGBRUSH description{};
    GetObjectW(own, sizeof description, &description);
    EXPECT_EQ(description.lbColor, GetSysColor(COLOR_WINDOW));
}

TEST(Surface, MeasuresWithTheControlsCurrentFont) {
    ScopedForm form;
    Control* label = newPanel(*form, EdgeStyle::None);
    label->font().setFaceName(L"Tahoma");
    label->font().setHeight(12);
    SIZE small{};
    GetTextExtentPoint32W(label->surface().textDC(), L"Dawatik", 7, &small);

    label->font().setHeight(36); // the next measurement must see the new font
    SIZE large{};
    GetTextExtentPoint32W(label->surface().textDC(), L"Dawatik", 7, &large);
    EXPECT_GT(small.cy, 0);
    EXPECT_GT(large.cy, small.cy * 2);
}

namespace {

// Sets one system colour for a test and puts the old one back.
class SystemColour {
public:
    SystemColour(int element, COLORREF colour) : element_(element), old_(GetSysColor(element)) {
        SetSysColors(1, &element_, &colour);
    }
    ~SystemColour() { SetSysColors(1, &element_, &old_); }
    SystemColour(const SystemColour&) = delete;
    SystemColour& operator=(const SystemColour&) = delete;
    COLORREF old() const { return old_; }

private:
    int element_;
    COLORREF old_;
};

COLORREF brushColour(HBRUSH brush) {
    LOGBRUSH description{};
    GetObjectW(brush, sizeof description, &description);
    return description.lbColor;
}

} // namespace

TEST(Brushes, ASystemColourBrushFollowsAChangeOfThatColour) {
    ScopedForm form;
    Control* panel = newPanel(*form, EdgeStyle::None);
    ASSERT_TRUE(form->ensureHandle());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(brushColour(panel->backgroundBrush()), face);

    const COLORREF other = face == RGB(10, 20, 30) ? RGB(30, 20, 10) : RGB(10, 20, 30);
    const SystemColour changed(COLOR_BTNFACE, other);
    ASSERT_EQ(GetSysColor(COLOR_BTNFACE), other);
    SendMessageW(form->handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(brushColour(panel->backgroundBrush()), other);
    EXPECT_EQ(brushColour(form->backgroundBrush()), other);
}
