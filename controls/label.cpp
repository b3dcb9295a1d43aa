#include "controls/label.h"

#include "controls/font.h"
#include "controls/surface.h"

#include <algorithm>
#include <string>

namespace ctl {

namespace {

// Style bits a word-wrapping label carries.
constexpr DWORD kWrapStyles = 0x2C00;

void fitAfterChange(Control& control) {
    auto& label = static_cast<Label&>(control);
    if (label.autoSize())
        label.fitToText();
}

// The font the label draws with: its own, else the nearest ancestor's.
Font* drawingFont(Control& control) {
    for (Control* c = &control; c; c = c->parent()) {
        if (Font* font = c->fontIfAny())
            return font;
    }
    return nullptr;
}

UINT alignmentFormat(TextAlign align) {
    switch (align) {
    case TextAlign::Right:
        return DT_RIGHT;
    case TextAlign::Center:
        return DT_CENTER;
    case TextAlign::Left:
        break;
    }
    return 0;
}

} // namespace

const ActionTable& labelActions() noexcept {
    static const ActionTable table = [] {
        ActionTable t;
        t.alignStyles[0] = SS_LEFT;
        t.alignStyles[1] = SS_RIGHT;
        t.alignStyles[2] = SS_CENTER;
        t.alignClear = SS_LEFTNOWORDWRAP;
        return t;
    }();
    return table;
}

Label* newLabel(Control& parent, std::wstring_view caption) {
    auto* label = new Label();
    label->initChild(parent, L"STATIC",
                     WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP,
                     labelActions(), false);
    label->setWidthHeight(0, 22);
    label->flags().repaintOnResize = true;
    label->flags().noInvalidateOnText = true;
    label->hooks().captionChanged = fitAfterChange;
    label->setText(caption);
    return label;
}

void Label::setWordWrap() {
    wordWrap_ = true;
    DWORD style = this->style();
    if (!flags().acceptsMnemonics)
        style &= ~static_cast<DWORD>(SS_LEFTNOWORDWRAP);
    setStyle(style | kWrapStyles);
}

void Label::setAutoSize(bool on) {
    autoSize_ = on;
    if (on)
        fitToText();
}

void Label::setMinimumSize(int width, int height) {
    minWidth_ = width;
    minHeight_ = height;
}

void Label::fitToText() {
    std::wstring measured = text();
    Font* font = drawingFont(*this);
    if (font && (font->style() & fontstyle::kItalic))
        measured += L' '; // the slant of the last letter reaches past its advance
    DrawingSurface& drawing = surface();
    HDC dc = drawing.dc();
    if (!dc)
        return;
    int width = 0;
    int height = 0;
    {
        const SelectedObject selected(dc, font ? font->handle() : nullptr);
        SIZE extent{};
        GetTextExtentPoint32W(dc, measured.c_str(), static_cast<int>(measured.size()), &extent);
        width = extent.cx;
        height = extent.cy;
        if (wordWrap_ && align() != Align::Client) {
            RECT r = clientRect();
            height = DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &r,
                               DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK |
                                   alignmentFormat(textAlign()));
            width = r.right - r.left;
        }
    }
    releaseSurface();

    const Align a = align();
    RECT r = bounds();
    const RECT old = r;
    if (a == Align::None || a == Align::Left || a == Align::Right)
        r.right = r.left + std::max(width + horizontalMargin_, minWidth_);
    if (a == Align::None || a == Align::Top || a == Align::Bottom)
        r.bottom = r.top + std::max(height + verticalMargin_, minHeight_);
    if (r.right == old.right && r.bottom == old.bottom)
        return;
    setBounds(r);
    if (parent())
        parent()->relayout();
}

} // namespace ctl
