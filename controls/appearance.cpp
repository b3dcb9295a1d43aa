// Appearance of a Control: colours and their brush, the font and its change notices, the
// drawing surface and the text alignment.

#include "controls/control.h"

#include "controls/font.h"

namespace ctl {

namespace {

// The change notice of a control's own font: switch the window to the new font.
void followFont(Control& control, Font& font) {
    control.setTextColor(font.color());
    if (control.handle())
        control.sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
    control.releaseSurface();
    if (control.hooks().captionChanged)
        control.hooks().captionChanged(control);
    control.invalidate();
}

void attachFont(Control& control, Font& font) {
    font.setChangeNotice([&control](Font& changed) { followFont(control, changed); });
}

} // namespace

void Control::setTextColor(Color color) {
    if (textColor_ == color)
        return;
    textColor_ = color;
    invalidate();
}

void Control::setBackgroundColor(Color color) {
    if (handle_ && actions_->setBackgroundColor)
        sendMessage(actions_->setBackgroundColor, 0, static_cast<LPARAM>(colorToRGB(color)));
    if (backgroundColor_ == color)
        return;
    backgroundColor_ = color;
    brush_.reset();
    invalidate();
}

HBRUSH Control::backgroundBrush() {
    // A control with its parent's colour paints with its parent's brush.
    Control* owner = this;
    while (owner->parent_ && owner->parent_->backgroundColor_ == owner->backgroundColor_)
        owner = owner->parent_;
    const COLORREF color = colorToRGB(owner->backgroundColor_);
    if (!owner->brush_ || owner->brushColor_ != color) {
        owner->brush_.reset(CreateSolidBrush(color));
        owner->brushColor_ = color;
    }
    return owner->brush_.get();
}

Font& Control::font() {
    if (!font_) {
        auto font = Ref<Font>::adopt(Font::create());
        font->setColor(textColor_);
        useFont(std::move(font));
    }
    return *font_;
}

void Control::useFont(Ref<Font> font) {
    font_ = std::move(font);
    attachFont(*this, *font_);
}

DrawingSurface& Control::surface() {
    HWND window = ensureHandle();
    surface_.target(window, paintDC_, font_.get());
    return surface_;
}

void Control::releaseSurface() noexcept {
    surface_.release();
}

bool Control::clickMnemonic(WPARAM key, bool buttonDown) {
    if (!holdsMnemonic(text(), key))
        return false;
    SendMessageW(handle_, buttonDown ? WM_LBUTTONDOWN : WM_LBUTTONUP, MK_LBUTTON, 0);
    return true;
}

void Control::invalidate() {
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void Control::setTextAlign(TextAlign align) {
    textAlign_ = align;
    DWORD style = style_;
    for (DWORD bits : actions_->alignStyles)
        style &= ~bits;
    style |= actions_->alignStyles[static_cast<int>(align)];
    style &= ~actions_->alignClear;
    setStyle(style);
}

} // namespace ctl
