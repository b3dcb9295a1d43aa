#include "controls/font.h"

#include <cstring>
#include <cwchar>

namespace ctl {

namespace {
constexpr std::size_t kFaceCapacity = LF_FACESIZE - 1; // 31 code units and a terminating zero
}

Font::Font() {
    description_.lfCharSet = DEFAULT_CHARSET;
    setFaceName(L"Tahoma");
}

Font* Font::create() {
    return new Font();
}

Font* Font::assign(Font* destination, Font* source) {
    if (!source) {
        if (destination)
            destination->release();
        return nullptr;
    }
    if (!destination)
        destination = new Font();
    if (destination != source &&
        !(destination->parent_.get() == source && destination->sameDataAs(*source))) {
        destination->changed();
        destination->color_ = source->color_;
        destination->description_ = source->description_;
        destination->parent_ = Ref<Font>(source);
        destination->changed();
    }
    return destination;
}

void Font::destroy() {
    Object::destroy();
    handle_.reset();
    parent_ = Ref<Font>();
}

void Font::setColor(Color color) {
    if (color_ == color)
        return;
    color_ = color;
    changed();
}

void Font::setField(LONG LOGFONTW::*field, LONG value) {
    if (description_.*field == value)
        return;
    description_.*field = value;
    changed();
}

std::wstring Font::faceName() const {
    return std::wstring(description_.lfFaceName, wcsnlen(description_.lfFaceName, LF_FACESIZE));
}

void Font::setFaceName(std::wstring_view face) {
    // The description holds at most 31 code units; longer names are cut there.
    face = face.substr(0, kFaceCapacity);
    if (faceName() == face)
        return;
    std::memset(description_.lfFaceName, 0, sizeof description_.lfFaceName);
    std::wmemcpy(description_.lfFaceName, face.data(), face.size());
    changed();
}

FontStyle Font::style() const noexcept {
    FontStyle bits = 0;
    if (description_.lfWeight >= FW_BOLD)
        bits |= fontstyle::kBold;
    if (description_.lfItalic)
        bits |= fontstyle::kItalic;
    if (description_.lfUnderline)
        bits |= fontstyle::kUnderline;
    if (description_.lfStrikeOut)
        bits |= fontstyle::kStrikeOut;
    return bits;
}

void Font::setStyle(FontStyle bits) {
    if (bits == style())
        return;
    if (bits & fontstyle::kBold) {
        if (description_.lfWeight < FW_BOLD)
            description_.lfWeight = FW_BOLD;
    } else if (description_.lfWeight >= FW_BOLD) {
        description_.lfWeight = 0;
    }
    description_.lfItalic = (bits & fontstyle::kItalic) ? 1 : 0;
    description_.lfUnderline = (bits & fontstyle::kUnderline) ? 1 : 0;
    description_.lfStrikeOut = (bits & fontstyle::kStrikeOut) ? 1 : 0;
    changed();
}

HFONT Font::handle() {
    return sharedHandle()->get();
}

std::shared_ptr<const UniqueFont> Font::sharedHandle() {
    // The colour resolves differently now (a system colour changed): start afresh.
    if (handle_ && colorToRGB(color_) != colorCache_)
        changed();
    if (handle_)
        return handle_;
    colorCache_ = colorToRGB(color_);
    if (parent_ && sameDataAs(*parent_))
        handle_ = parent_->sharedHandle();
    else
        handle_ = std::make_shared<const UniqueFont>(CreateFontIndirectW(&description_));
    return handle_;
}

void Font::changed() {
    // The owner is told to switch before the font it uses is let go, and once more after.
    std::shared_ptr<const UniqueFont> old = std::move(handle_);
    if (notice_)
        notice_(*this);
    if (old) {
        old.reset();
        if (notice_)
            notice_(*this);
    }
}

bool Font::sameDataAs(const Font& other) const noexcept {
    return color_ == other.color_ &&
           std::memcmp(&description_, &other.description_, sizeof description_) == 0;
}

} // namespace ctl
