#include "controls/edit.h"
#include "controls/font.h"
#include "controls/label.h"
#include "support/shared_form.h"

#include <string>
#include <utility>

using namespace ctl;
using testing_gui::height;
using testing_gui::width;

namespace {

class LabelTest : public testing_gui::SharedFormTest {
protected:
    Label* makeLabel(const wchar_t* caption) {
        Label* label = newLabel(form(), caption);
        label->font().setFaceName(L"Arial");
        label->font().setHeight(14);
        return label;
    }
};

// The text's extent in the label's font, measured on a context of our own.
SIZE extentOf(Label& label, const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontIndirectW(&label.font().description());
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size;
}

} // namespace

TEST_F(LabelTest, NewLabelIsSingleLineStaticTextWithoutPrefix) {
    Label* label = newLabel(form(), L"A & B");
    EXPECT_EQ(label->style(), 0x5000018Cu | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(height(label->bounds()), 22);
    label->createWindow();
    EXPECT_EQ(GetWindowLongW(label->handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(LabelTest, AutoSizeFitsTheTextOnEveryChange) {
    Label* label = makeLabel(L"Description");
    label->setAutoSize(true);
    SIZE text = extentOf(*label, L"Description");
    EXPECT_EQ(width(label->bounds()), text.cx + 1);
    EXPECT_EQ(height(label->bounds()), text.cy + 1);

    label->setText(L"Contact and Information");
    text = extentOf(*label, L"Contact and Information");
    EXPECT_EQ(width(label->bounds()), text.cx + 1);

    // A new font is measured at once.
    label->font().setHeight(28);
    text = extentOf(*label, L"Contact and Information");
    EXPECT_EQ(height(label->bounds()), text.cy + 1);
    EXPECT_EQ(width(label->bounds()), text.cx + 1);

    label->font().setStyle(fontstyle::kItalic);
    EXPECT_EQ(width(label->bounds()), extentOf(*label, L"Contact and Information ").cx + 1);

    label->setMinimumSize(400, 0);
    label->setText(L"x");
    EXPECT_EQ(width(label->bounds()), 400);

    label->setAutoSize(false);
    label->setMinimumSize(0, 0);
    label->setText(L"a much longer text than before");
    EXPECT_EQ(width(label->bounds()), 400);
}

TEST_F(LabelTest, AlignedLabelKeepsTheDimensionItsAlignmentGives) {
    Label* top = makeLabel(L"Heading");
    top->setAlign(Align::Top);
    top->setAutoSize(true);
    const RECT client = form().clientRect();
    EXPECT_EQ(width(top->bounds()), width(client) - 4); // spans the form less the gaps
    EXPECT_EQ(height(top->bounds()), extentOf(*top, L"Heading").cy + 1);
}

TEST_F(LabelTest, WordWrapLetsTheTextWrapAndAutoSizeGrowsDownwards) {
    Label* label = makeLabel(L"");
    label->setWordWrap();
    EXPECT_EQ(label->style() & 0xFFFF, 0x2D80u);
    label->createWindow();
    EXPECT_EQ(GetWindowLongW(label->handle(), GWL_STYLE) & 0x0C, 0);

    label->setBounds({10, 10, 110, 32});
    label->setAutoSize(true);
    label->setText(L"Simple Arabic Unicode text editor with a keyboard character map");
    const RECT r = label->bounds();
    const int line = extentOf(*label, L"Simple").cy;
    EXPECT_GE(height(r), 3 * line);
    EXPECT_LE(width(r), 101);
    EXPECT_EQ(r.left, 10);
}

TEST_F(LabelTest, TextAlignSwapsAlignmentStylesInOneChange) {
    Label* label = makeLabel(L"right");
    label->setTextAlign(TextAlign::Right);
    EXPECT_EQ(label->style() & 0x1F, static_cast<DWORD>(SS_RIGHT));
    label->setTextAlign(TextAlign::Center);
    EXPECT_EQ(label->style() & 0x1F, static_cast<DWORD>(SS_CENTER));

    Control* edit = newEdit(form(), editopt::kMultiLine);
    edit->setTextAlign(TextAlign::Right);
    edit->createWindow();
    edit->setText(L"text stays");
    SendMessageW(edit->handle(), EM_SETSEL, 2, 4);
    int styleChanges = 0;
    edit->setOnMessage({[&styleChanges](Message& message, LRESULT&) {
        if (message.message == WM_STYLECHANGED && message.wParam == static_cast<WPARAM>(GWL_STYLE))
            ++styleChanges;
        return false;
    }});
    edit->setTextAlign(TextAlign::Center);
    const auto style = static_cast<DWORD>(GetWindowLongW(edit->handle(), GWL_STYLE));
    EXPECT_EQ(style & (ES_RIGHT | ES_CENTER), static_cast<DWORD>(ES_CENTER));
    EXPECT_EQ(styleChanges, 1);
    EXPECT_EQ(edit->textAlign(), TextAlign::Center);
    // The window was not re-created: text and selection are still there.
    EXPECT_EQ(edit->text(), L"text stays");
    EXPECT_EQ(testing_gui::selection(edit->handle()), std::make_pair(DWORD{2}, DWORD{4}));
}
